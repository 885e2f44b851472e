#!/usr/bin/env bash
# The rubber band as a user meets it: the program (PROGRAM, a Release build) under a virtual X
# display in a private network namespace with a temporary HOME, driven by xdotool, opens a project
# of one 1920 x 1080 scene filled with N buttons (16 x 10 in a grid of 20 x 12), zooms out until
# the scene is whole on screen, draws a band across the scene and clears it once untimed, and then,
# for N = 1,000 and 8,000:
#   - drags a band from outside the scene across it in 60 pointer moves 16 ms apart, all from one
#     xdotool process, so that the pointer keeps its pace whatever the program does; the band's
#     frame rate is the frames the window drew during the drag per second of it;
#   - draws a band around every button and releases it: the selection has landed when the last
#     frame after the release is drawn; the figure is the time from the release to that frame.
#     As a small selection lands before the release, the time from the band closing around every
#     button (the pointer's move there) to the first frame after the last "item select changed"
#     line is given too;
#   - clears the selection with a click: the time from the click to the last frame after it.
# Frames come from the render loop's timing lines (qt.scenegraph.time.renderloop). The program
# writes its lines as users get them, in its own message pattern (a selection of 8,000 writes
# 8,000 lines, and formatting each one's local time is part of what it costs); a reader at the
# other end of the program's terminal stamps each line with the wall clock as it arrives, the clock
# the marks are taken on.
# With TAVIX_PREVIOUS_PROGRAM and TAVIX_BEFORE_LAST_PROGRAM naming the programs of earlier builds
# (xvfb_bench_lib.sh), those run the same way. Every program is started afresh for each round,
# ROUNDS rounds per N, and the variants take turns round by round (new, previous, before-last, then
# previous, before-last, new, ...), so that a load on the machine falls on each alike and the n-th
# figures of the variants are of neighbouring starts.
# Prints each figure as min / median / max per variant, and the select-all ratio 8,000 / 1,000 of
# the medians. Every round is also printed as a line
# "FIGURE <figure> <new|previous|before-last> <value> <unit>" (figures band-N-fps, band-N-select,
# band-N-closed, band-N-clear), in the order of the rounds, for scripts/bench-figures.py.
#     bench/app/bench_band_xvfb.sh PROGRAM [ROUNDS]
set -euo pipefail
program=$(realpath "$1")
rounds=${2:-5}
cd "$(dirname "$0")/../.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export BENCH_LIB=$PWD/bench/app/xvfb_bench_lib.sh
source "$BENCH_LIB"
variants=(new)
declare -A binary=([new]=$program)
earlier_builds

# a project of count buttons, in a packet folder of its own
packet() {
    local count=$1 dir="$work/p$1"
    mkdir -p "$dir/image"
    convert -size 64x36 xc:'#2060a0' "$dir/image/background.png"
    python3 - "$count" > "$dir/project.tavx" <<'PY'
import json, sys
count = int(sys.argv[1])
def prop(name, value):
    return {"name": name, "value": value}
items = [{"propertyArray": [prop("ControlType", 9), prop("Name", "停止"),
                            prop("QmlPath", "qrc:/qml/scenePanel/RCSceneItemActionButton.qml"),
                            prop("X", 20 * (i % 95)), prop("Y", 12 * (i // 95)),
                            prop("Width", 16), prop("Height", 10)]} for i in range(count)]
scene = {"propertyArray": [prop("Name", "S"), prop("Width", 1920), prop("Height", 1080),
                           prop("BackgroundImg", "rcimg:/background.png")], "itemArray": items}
print(json.dumps({"version": "3.0.0", "setting": {"SceneListVisible": True},
                  "sceneArray": {"sceneArray": [scene]}}))
PY
    echo "$dir/project.tavx"
}

cat > "$work/run.sh" <<'SCRIPT'
#!/usr/bin/env bash
set -euo pipefail
program=$1 project=$2 out=$3 work=$4
export HOME="$out.home" XDG_CONFIG_HOME="$out.home/.config" QT_QPA_PLATFORM=xcb QT_QUICK_BACKEND=software
export QT_LOGGING_RULES="qt.scenegraph.time.renderloop.debug=true"
rm -rf "$HOME"; mkdir -p "$HOME"
source "$BENCH_LIB"
start_stamped "$out.log" "$program" "$project"
wait_window "Tavix Editor"
# zoom out until the scene is whole (Ctrl+wheel back over the canvas; a scene not drawn yet is no
# scene): the scene rectangle on screen, the bounding box of its background's colour, is 384 x 216
# at divisor 5
scene_box() {
    import -window root "$out.png"
    convert "$out.png" -fill black +opaque '#2060a0' -fill white -opaque '#2060a0' -trim -format '%X %Y %w %h' info: |
        awk '{ gsub(/\+/, "", $1); gsub(/\+/, "", $2); print $1, $2, $1 + $3, $2 + $4 }'
}
xdotool mousemove 512 400
# until the scene shows (a program still loading shows none of its background), then zoomed out
left=0 top=0 right=0 bottom=0
for _ in $(seq 1 60); do
    read -r left top right bottom < <(scene_box 2> /dev/null) || true
    if ((right - left > 1)); then
        ((right - left <= 390)) && break
        for _ in 1 2 3 4 5; do xdotool keydown ctrl click 5 keyup ctrl; done
    fi
    sleep 1
done
((right - left > 1 && right - left <= 390)) || { echo "FAIL: the canvas did not zoom out" >&2; exit 1; }
mark() { echo "$EPOCHREALTIME MARK $1" >> "$out.marks"; }
# a band across the scene in 60 moves 16 ms apart, from one process; marked when $1 is given
band_across() {
    local steps=() i
    for ((i = 1; i <= 60; ++i)); do
        steps+=(mousemove $((left - 6 + (right - left) * i / 60)) $((top - 6 + (bottom - top) * i / 60)) sleep 0.016)
    done
    xdotool mousemove $((left - 6)) $((top - 6)) mousedown 1
    sleep 0.3
    [[ -z ${1:-} ]] || mark drag-start
    xdotool "${steps[@]}"
    [[ -z ${1:-} ]] || mark drag-end
    xdotool mouseup 1
    sleep 2
    # a click outside the scene clears the selection
    xdotool mousemove $((left - 6)) $((top - 6)) click 1
    sleep 2
}
# once untimed: what a first band makes (its rectangle, the selection's handles) is made
band_across
band_across timed
# a band around everything at once
mark closes
xdotool mousemove $((left - 6)) $((top - 6)) mousedown 1 mousemove $((right + 6)) $((bottom + 6))
sleep 0.05
mark release
xdotool mouseup 1
sleep 3
xdotool mousemove $((left - 6)) $((top - 6))
sleep 0.5
mark clear
xdotool click 1
sleep 2
stop_stamped
SCRIPT
chmod +x "$work/run.sh"

for count in 1000 8000; do
    project=$(packet $count)
    for ((r = 0; r < rounds; ++r)); do
        for variant in $(rotated "$r"); do
            unshare -rn scripts/netns-run.sh scripts/xvfb-run.sh 1280x800x24 \
                "$work/run.sh" "${binary[$variant]}" "$project" "$work/r$count-$variant-$r" "$work"
        done
    done
done
python3 - "$work" "$rounds" "${variants[@]}" <<'PY'
import statistics, sys
work, rounds, variants = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
def figures(count, variant):
    fps, gaps, lands, moves, closes, clears = [], [], [], [], [], []
    for r in range(rounds):
        run = "%s/r%d-%s-%d" % (work, count, variant, r)
        log = open(run + ".log", errors="replace").readlines()
        frames = [float(l.split()[0]) for l in log if "qt.scenegraph.time.renderloop" in l]
        selects = [float(l.split()[0]) for l in log if "item select changed" in l]
        marks = [(float(l.split()[0]), l.split()[2]) for l in open(run + ".marks")]
        for i, (t, name) in enumerate(marks):
            if name == "drag-start":
                end = marks[i + 1][0]
                drawn = [f for f in frames if t <= f <= end]
                fps.append(len(drawn) / (end - t))
                moves.append(60 / (end - t))
                gaps.append(max(b - a for a, b in zip([t] + drawn, drawn + [end])) * 1000)
            elif name == "release":
                after = [f for f in frames if t <= f <= t + 2.9]
                lands.append((after[-1] - t) * 1000 if after else 0.0)
            elif name == "closes":
                selected = [s for s in selects if t <= s <= marks[i + 1][0] + 2.9]
                drawn = [f for f in frames if selected and f >= selected[-1]]
                if not drawn:
                    sys.exit("FAIL: no selection drawn after the band closed around %d buttons" % count)
                closes.append((drawn[0] - t) * 1000)
            elif name == "clear":
                after = [f for f in frames if t <= f <= t + 1.9]
                clears.append((after[-1] - t) * 1000 if after else 0.0)
    return fps, gaps, lands, moves, closes, clears
def show(name, xs, unit):
    xs = sorted(xs)
    print("| %s | %.1f / %.1f / %.1f %s |" % (name, xs[0], statistics.median(xs), xs[-1], unit))
lines = []
def figure(name, variant, xs, unit):
    lines.extend("FIGURE %s %s %.1f %s" % (name, variant, x, unit) for x in xs)
print("| figure | min / median / max |")
print("|---|---|")
for variant in variants:
    medians, closing = {}, {}
    label = "" if variant == "new" else variant + ": "
    for count in (1000, 8000):
        fps, gaps, lands, moves, closes, clears = figures(count, variant)
        show(label + "band over %d buttons, pointer moves per second (the most frames it can ask for)" % count, moves, "/s")
        show(label + "band over %d buttons, frames per second" % count, fps, "fps")
        show(label + "band over %d buttons, longest gap" % count, gaps, "ms")
        show(label + "band around all %d buttons, release to selection drawn" % count, lands, "ms")
        show(label + "band around all %d buttons, closed to selection drawn" % count, closes, "ms")
        show(label + "click clearing all %d buttons, to cleared drawn" % count, clears, "ms")
        medians[count] = statistics.median(lands)
        closing[count] = statistics.median(closes)
        figure("band-%d-fps" % count, variant, fps, "fps")
        figure("band-%d-select" % count, variant, lands, "ms")
        figure("band-%d-closed" % count, variant, closes, "ms")
        figure("band-%d-clear" % count, variant, clears, "ms")
    print("| %sselect all 8,000 / 1,000, from the release (medians) | %.1f |" % (label, medians[8000] / medians[1000] if medians[1000] else 0))
    print("| %sselect all 8,000 / 1,000, from the band closing (medians) | %.1f |" % (label, closing[8000] / closing[1000]))
print("\n".join(lines))
PY
