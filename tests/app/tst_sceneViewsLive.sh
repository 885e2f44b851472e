#!/usr/bin/env bash
# The item views of the whole program against the stand-in media server, under a virtual X
# display, driven by xdotool and read back from screenshots. Meant to run inside a private network
# namespace (the program and the stand-in use their fixed ports there):
#     unshare -rn scripts/netns-run.sh scripts/xvfb-run.sh 1280x800x24 \
#         tests/app/tst_sceneViewsLive.sh PROGRAM MEDIA_SERVER_STANDIN OUT_DIR
# A project of two scenes: S with two stage views, the program table, the volume slider, the
# play-state manager, a label and the playing-name view; T with a label only. Checked: while the
# stage views show, the stage image is asked for again and again, never more often than every
# 100 ms and never while a request waits for its answer; its solid colour shows in both stage
# views; once T shows, the requests stop; a tap on a table cell sends its node's
# "setProgramNode"; the slider pressed at 75 % sends {"volume": 75}. Screenshots land in OUT_DIR.
# Every wait is bounded, and generously: the checks hold on a busy machine, where the program
# answers late and the stand-in logs late, so they assert order and upper bounds, and lower
# bounds only as "it keeps asking".
set -euo pipefail
program=$1 mediaserver=$2 out=$3
source "$(dirname "$0")/screen.sh"
# The commands the server received so far, one per line: "time name {params}".
received() {
    python3 - "$work/mediaserver.log" "$@" 2>/dev/null <<'PY'
import json, sys
for line in open(sys.argv[1], encoding="utf-8"):
    entry = json.loads(line)
    if entry.get("event") == "command" and (len(sys.argv) < 3 or entry["cmd"] in sys.argv[2:]):
        params = dict(entry.get("params", {}))
        params.pop("uid", None)
        print(entry["time"], entry["cmd"], json.dumps(params, sort_keys=True, separators=(",", ":")))
PY
}
# Waits until a command line matching the pattern has reached the server; at most 30 s.
wait_received() {
    local until=$((SECONDS + 30))
    while ((SECONDS < until)); do
        received | grep -q -- "$1" && return 0
        sleep 0.1
    done
    fail "no command matching $1 reached the server"
}

# ---- the project ----
packet="$work/views"
mkdir -p "$packet/image"
item() { # controlType view x y width height [extra properties]
    printf '{"propertyArray": [{"name": "ControlType", "value": %s}, {"name": "QmlPath", "value": "qrc:/qml/scenePanel/%s"},
        {"name": "X", "value": %s}, {"name": "Y", "value": %s}, {"name": "Width", "value": %s},
        {"name": "Height", "value": %s}%s]}' "$1" "$2" "$3" "$4" "$5" "$6" "${7:-}"
}
named() { printf ', {"name": "Name", "value": "%s"}' "$1"; }
cat > "$packet/project.tavx" <<JSON
{"version": "3.0.0", "setting": {"SceneListVisible": true}, "sceneArray": {"sceneArray": [
  {"propertyArray": [{"name": "Name", "value": "S"}, {"name": "Width", "value": 960}, {"name": "Height", "value": 540}],
   "itemArray": [
    $(item 2 RCSceneItemStageView.qml 10 10 300 170 "$(named 舞台一), {\"name\": \"TitleHeight\", \"value\": 24}"),
    $(item 2 RCSceneItemStageView.qml 320 10 300 170 "$(named 舞台二), {\"name\": \"TitleHeight\", \"value\": 24}"),
    $(item 22 RCSceneItemProgramTable.qml 10 210 600 320 "$(named 节目表)"),
    $(item 17 RCSceneItemSliderGlobalProperty.qml 640 40 310 50 "$(named 音量)"),
    $(item 4 RCSceneItemPlayStateManager.qml 640 110 310 200 "$(named 播放状态), {\"name\": \"TitleHeight\", \"value\": 24}"),
    $(item 21 RCSceneItemLabel.qml 640 330 310 50 "$(named 标签), {\"name\": \"TextHAlignment\", \"value\": 1}, {\"name\": \"TextSize\", \"value\": 20}"),
    $(item 42 RCSceneItemVexaPlayingProgramName.qml 640 400 310 50 ""),
    $(item 34 RCSceneItemVexaProgramPlayTime.qml 640 460 150 50 ""),
    $(item 35 RCSceneItemVexaProgramFinishTime.qml 800 460 150 50 "")]},
  {"propertyArray": [{"name": "Name", "value": "T"}, {"name": "Width", "value": 960}, {"name": "Height", "value": 540}],
   "itemArray": [$(item 21 RCSceneItemLabel.qml 100 100 300 60 "$(named 无舞台)")]}]}}
JSON

# ---- the server ----
# A stage image of the size a server sends (960 x 540, some hundred KB as JPEG): green with noise.
stage=$(convert -size 960x540 xc:'#00C850' -attenuate 5 +noise Uniform -quality 92 jpg:- | base64 -w0)
echo "stage image: ${#stage} bytes of base64"
(( ${#stage} >= 200000 )) || fail "the stage image is too small to stand for a server's"
cat > "$work/state.json" <<JSON
{"setStageImage": {"stageImage": "$stage"},
 "globalProperties": {"volume": 40, "brightness": 50, "stageLink": false, "standby": false, "displayOutputState": true},
 "setTrackManager": {"trackArray": []},
 "setVexaProgramManager": {"videoProgramListArray": [{"id": "v1", "name": "片库", "programArray": [
     {"id": "vp1", "name": "日出", "playState": 1, "length": 120000, "progress": 30000, "beginPos": 0, "endPos": 120000}]}]},
 "setProgramTable": {
  "programArray": [{"id": "p1", "name": "开场", "playState": 1}, {"id": "p2", "name": "第一幕", "playState": 0},
                   {"id": "p3", "name": "终场", "playState": 0}],
  "programLayerArray": [{"id": "l1", "name": "视频", "programLayerType": 0}, {"id": "l2", "name": "灯光", "programLayerType": 1}],
  "programNodeArray": [
   {"id": "n1", "name": "片头", "playState": 1, "length": 60000, "progress": 15000, "programLayerId": "l1", "programIdArray": ["p1"]},
   {"id": "n2", "name": "正片", "playState": 0, "length": 90000, "progress": 0, "programLayerId": "l1", "programIdArray": ["p2", "p3"]},
   {"id": "n3", "name": "暖光", "playState": 1, "length": 30000, "progress": 20000, "programLayerId": "l2", "programIdArray": ["p1"]}]}}
JSON
start_server() { # [stand-in options]
    "$mediaserver" --state "$work/state.json" --log "$work/mediaserver.log" "$@" &
    server=$!
    pids+=("$server")
}
now_ms() { date +%s%3N; }
# The stage image requests that reached the server from ms $1 to ms $2 (epoch ms), one time each.
stage_requests() {
    python3 - "$work/mediaserver.log" "$1" "$2" <<'PY'
import json, sys, datetime
start, end = int(sys.argv[2]), int(sys.argv[3])
for line in open(sys.argv[1], encoding="utf-8"):
    entry = json.loads(line)
    if entry.get("cmd") != "getStageImage":
        continue
    t = datetime.datetime.fromisoformat(entry["time"].replace("Z", "+00:00")).timestamp() * 1000
    if start <= t <= end:
        print(int(t))
PY
}
# Whether the pixel is within 40 of the colour RRGGBB on each channel; the pixel goes to `got`.
is_near() {
    got=$(pixel "$1" "$2")
    python3 -c "import sys; g, w = bytes.fromhex('$got'), bytes.fromhex('$3'); sys.exit(0 if len(g) == 3 and all(abs(a - b) <= 40 for a, b in zip(g, w)) else 1)"
}
# Fails unless the pixel is near the colour RRGGBB ("!RRGGBB": unless it is not).
near() {
    if [[ "$3" == !* ]]; then
        ! is_near "$1" "$2" "${3#!}" || fail "pixel ($1,$2) is $got, near ${3#!}"
    else
        is_near "$1" "$2" "$3" || fail "pixel ($1,$2) is $got, not near $3"
    fi
}
# Waits (at most about 30 s) until the pixel is near the colour RRGGBB ("!RRGGBB": until it is
# not).
wait_near() {
    local until=$((SECONDS + 30))
    while ((SECONDS < until)); do
        if [[ "$3" == !* ]]; then
            ! is_near "$1" "$2" "${3#!}" && return 0
        else
            is_near "$@" && return 0
        fi
        sleep 0.1
    done
    near "$@"
}
# Waits (at most 60 s) until at least $2 stage image requests have reached the server since ms $1.
wait_requests() {
    local until=$((SECONDS + 60))
    while ((SECONDS < until)); do
        (($(stage_requests "$1" 99999999999999 | wc -l) >= $2)) && return 0
        sleep 0.2
    done
    fail "fewer than $2 stage image requests since the stage views showed: the views stopped asking"
}

# Places on the 1024 x 768 window at the screen's top left, control layout: the scene tiles, the
# scene (0, 0) at (32, 212), one screen pixel per scene unit.
tile_s=(128 140) tile_t=(384 140)
stage_a=(192 320) stage_b=(502 320)
cell_n2=(253 497)                      # node n2 (layer l1, program p2)
slider_75=(868 277)                    # the volume bar runs from x 675 to 932

start_server

start_program "$work/home" "$packet/project.tavx"
wait_received getStageImage
wait_near 100 300 00C850               # the first stage view, in the edit layout
shot edit-mode
click 994 63                           # the system menu
click 949 95                           # "控制模式"
wait_pixel 808 170 000000              # the control list's icons have gone

echo "== the stage image stops without stage views, and with them it is asked for again and again, at most every 100 ms"
click "${tile_t[@]}"
# the screen shows T: the stage views have gone; a request sent before may still be on its way to
# the server, and one more when the answer to the one before took longer than the 3 s the
# program waits for it
wait_near "${stage_a[@]}" '!00C850'
left=$(now_ms)
sleep 1.5
late=$(stage_requests "$left" $(now_ms))
(($(wc -w <<< "$late") <= 2)) || fail "stage images were still asked for after leaving the stage views: $late"
shot no-stage-views
before=$(now_ms)
click "${tile_s[@]}"
wait_requests "$before" 10
sleep 2
# none was asked for before the click (none since T showed), so all of these were sent after it:
# the first at once, then at most one per 100 ms
count=$(stage_requests "$before" $((before + 2000)) | wc -l)
echo "stage image requests in the first 2 s with two stage views: $count"
((count <= 22)) || fail "$count stage image requests in 2 s: more than one per 100 ms"
wait_near "${stage_a[@]}" 00C850
wait_near "${stage_b[@]}" 00C850
shot stage-views

echo "== a tap on a table cell, the volume slider at 75 %"
click "${cell_n2[@]}"
wait_received 'setProgramNode {"id":"n2","playState":1}'
click "${slider_75[@]}"
wait_received 'setGlobalProperty {"volume":75}'
shot taps

echo "== a slow server: one stage image request at a time"
kill "$server"
wait "$server" 2>/dev/null || true
: > "$work/mediaserver.log"
start_server --stage-delay-ms 250
wait_received getProgramTable
click "${tile_t[@]}"
wait_near "${stage_a[@]}" '!00C850'
sleep 0.5
before=$(now_ms)
click "${tile_s[@]}"
wait_requests "$before" 4
sleep 2.5
# each request waits 250 ms at the server, and the next goes only after its answer
python3 - "$work/mediaserver.log" "$before" <<'PY' || fail "a stage image was asked for before the last one was answered, or more than one per 250 ms"
import json, sys, datetime
start = int(sys.argv[2])
waiting, requests, early = False, 0, 0
for line in open(sys.argv[1], encoding="utf-8"):
    entry = json.loads(line)
    t = datetime.datetime.fromisoformat(entry["time"].replace("Z", "+00:00")).timestamp() * 1000
    if entry.get("event") == "answer":
        waiting = False
    elif entry.get("cmd") == "getStageImage" and t >= start:
        if waiting:
            sys.exit("asked again before the answer")
        waiting, requests = True, requests + 1
        early += t <= start + 2500
print(f"stage image requests answered after 250 ms: {requests}, {early} of them in the first 2.5 s")
sys.exit(0 if early <= 11 else 1)
PY
wait_near "${stage_a[@]}" 00C850
shot slow-server
stop_program
echo "all scene view checks passed"
