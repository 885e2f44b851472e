#!/usr/bin/env bash
# Whole-program checks of the main window under a virtual X display, driven by xdotool and read
# back through screenshots (ImageMagick). Meant to run inside a private network namespace (the
# program and the stand-in media server use their fixed ports there):
#     unshare -rn scripts/netns-run.sh scripts/xvfb-run.sh 1280x800x24 \
#         tests/app/window_checks.sh PROGRAM MEDIA_SERVER_STANDIN RELAY_STANDIN OUT_DIR [link]
# "link" adds the checks that need the media server's commands to be applied (the connection
# pill turning green, a project downloaded from the server). Every wait is bounded.
set -euo pipefail
program=$1 mediaserver=$2 relay=$3 out=$4 link=${5:-}
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
source "$source_dir/tests/app/screen.sh"
# Starts the program with HOME $1 on a stored packet made from the empty template, in a folder
# with a Chinese name, at $packet.
open_packet() {
    packet="$1/演出项目/第一场"
    mkdir -p "$packet"
    cp "$source_dir/resources/empty/project.json" "$source_dir/resources/empty/thumbnail.png" "$packet/"
    start_program "$1" "$packet/project.json"
    wait_pixel "${pill[@]}" AA0428
}
# Adds a scene, closes the window and answers the save question with the button at $1 $2.
close_changed() {
    click "${add_scene[@]}"
    click "${close_button[@]}"
    wait_pixel "${dialog_body[@]}" 2C2C2C
    shot save-question
    click "$@"
    wait_exit
}

# Places on the 1024 x 768 window at the screen's top left.
pill=(30 63)              # the connection pill
close_button=(1001 22)    # the title bar's cross
menu_button=(994 63)
add_scene=(673 140)       # the scene list's add button
question_save=(434 451) question_discard=(512 451)

"$relay" --port 0 > "$work/relay.log" 2>&1 &
pids+=($!)
for _ in $(seq 1 50); do grep -q '"url"' "$work/relay.log" 2>/dev/null && break; sleep 0.1; done
export TAVIX_CLOUD_RELAY_URL=$(sed -n 's/.*"url":"\([^"]*\)".*/\1/p' "$work/relay.log" | head -1)
[[ -n "$TAVIX_CLOUD_RELAY_URL" ]] || fail "the relay stand-in did not start"

echo "== start page, a template, the pill, Ctrl+S, joining a cloud project"
start_program "$work/home1"
wait_pixel 922 734 BBB7B7            # "确定"
# The template tiles show their pictures (the templates' grids), not flat fills: the inside of
# each thumbnail varies. Thumbnails load in the background, so each gets a few tries.
for x in 120 331 542 753; do
    for ((i = 0; i < 30; ++i)); do
        drawn=$(import -window root png:- | convert - -crop "150x70+$x+118" -format "%[fx:standard_deviation > 0.005]" info:)
        [[ "$drawn" == 1 ]] && break
        sleep 0.1
    done
    [[ "$drawn" == 1 ]] || fail "the template tile at x $x shows no picture"
done
shot start-page
xdotool mousemove --sync 195 165 click --repeat 2 --delay 80 1
wait_pixel "${pill[@]}" AA0428       # red: not connected
shot template
if [[ "$link" == link ]]; then
    # The stand-in holds its answers 3 s, as a server still loading its show: the pill turns dark
    # ("加载中") once the link is up and green only when the mirror has its answers.
    "$mediaserver" --tcp-port 0 --hold-ms 3000 > "$work/mediaserver.log" 2>&1 &
    mediaserver_pid=$!
    pids+=($mediaserver_pid)
    wait_pixel "${pill[@]}" 2F4F4F 50
    shot loading
    wait_pixel "${pill[@]}" 7CAA33 100
    echo "pill: red, loading, green"
    shot connected
fi
xdotool key --clearmodifiers ctrl+s
wait_pixel "${dialog_body[@]}" 2C2C2C
wait_pixel "${dialog_header[@]}" 1A1A1A
shot save-dialog
click 687 317                        # the dialog's cross
wait_pixel "${dialog_body[@]}" '!2C2C2C'   # the scene canvas again
click "${menu_button[@]}"
click 949 275                        # "加入项目"
wait_pixel "${dialog_body[@]}" 2C2C2C
xdotool type --delay 50 1001
xdotool key Tab
xdotool type --delay 50 8888
xdotool key Return
for _ in $(seq 1 50); do grep -q 'device_login' "$work/relay.log" && break; sleep 0.1; done
grep -q 'device_login' "$work/relay.log" || fail "the join did not reach the relay"
wait_pixel "${dialog_body[@]}" '!2C2C2C'   # the join dialog has closed
shot joined
if [[ "$link" == link ]]; then
    click "${menu_button[@]}"
    click 949 155                    # "添加Mirel场景"
    wait_pixel "${dialog_body[@]}" 2C2C2C
    click 473 448                    # "下载"
    wait_pixel "${dialog_body[@]}" '!2C2C2C' 100
    grep -q '"getProject"' "$work/mediaserver.log" || fail "no download request reached the server"
    wait_pixel 270 100 0D0D8E            # the server's scene, selected, beside the template's
    shot downloaded
    click "${close_button[@]}"
    wait_pixel "${dialog_body[@]}" 2C2C2C   # the downloaded scene is unsaved work
    click "${question_discard[@]}"
else
    click "${close_button[@]}"
fi
wait_exit
# The later programs must start unconnected.
[[ -z "${mediaserver_pid:-}" ]] || { kill "$mediaserver_pid"; wait "$mediaserver_pid" 2>/dev/null || true; }

echo "== close, 保存"
open_packet "$work/home2"
close_changed "${question_save[@]}"
[[ -s "$packet/project.tavx" ]] || fail "project.tavx was not written"
[[ ! -e "$packet/project.json" ]] || fail "the old project file stayed"
grep -q '场景2' "$packet/project.tavx" || fail "the new scene was not saved"
[[ $(identify -format "%w" "$packet/thumbnail.png") -gt 100 ]] || fail "no thumbnail"
[[ $(convert "$packet/thumbnail.png" -format "%[fx:maxima.r+maxima.g+maxima.b > 0.1]" info:) == 1 ]] ||
    fail "the thumbnail is black"
cp "$packet/thumbnail.png" "$out/thumbnail.png"

echo "== close, 不保存"
before=$(cd "$source_dir/resources/empty" && sha256sum project.json thumbnail.png)
open_packet "$work/home3"
close_changed "${question_discard[@]}"
[[ "$(cd "$packet" && sha256sum project.json thumbnail.png)" == "$before" ]] || fail "the packet changed"
[[ ! -e "$packet/project.tavx" ]] || fail "a project file was written"

echo "== save-as into a Chinese-named folder"
open_packet "$work/home4"
click "${menu_button[@]}"
click 949 245                        # "另存为和打开"
wait_pixel "${dialog_body[@]}" 2C2C2C
xdotool type --delay 50 show2
xdotool key Return
for _ in $(seq 1 100); do
    [[ -s "$work/home4/演出项目/show2/thumbnail.png" ]] && break
    sleep 0.1
done
[[ -s "$work/home4/演出项目/show2/project.tavx" ]] || fail "save-as wrote nothing"
[[ -s "$work/home4/演出项目/show2/thumbnail.png" ]] || fail "save-as wrote no thumbnail"
wait_pixel "${dialog_body[@]}" 2C2C2C   # "另存为成功"
shot save-as-done
click 512 451                        # "确定" on "另存为成功"
wait_pixel "${dialog_body[@]}" '!2C2C2C'
click "${close_button[@]}"
wait_exit
echo "all window checks passed"
