#!/usr/bin/env bash
# A drag of many selected buttons as a user makes it: the program (PROGRAM, a Release build) under
# a virtual X display in a private network namespace with a temporary HOME, driven by xdotool,
# opens a project of one 700 x 560 scene (whole in view) with 200 buttons (24 x 16 in a grid of
# 28 x 28), selects them all with a rubber band and drags them ROUNDS times, there and back,
# 120 pixels right and down in 60 pointer moves 16 ms apart: fresh, then after a save (Ctrl+S),
# then after control mode and back (the system menu's first entry, twice). The frame rate of a
# drag is the frames the window drew during it per second of it; frames come from the render
# loop's timing lines, each stamped with the wall clock as it arrives (xvfb_bench_lib.sh). Its twin
# (TWIN, bench/app/bare_drag) drags 200 plain buttons under veils the same way.
# With TAVIX_PREVIOUS_PROGRAM and TAVIX_BEFORE_LAST_PROGRAM naming the programs of earlier builds
# (xvfb_bench_lib.sh), those run too. The variants take turns, RUNS times, each going first in turn
# (new, previous, before-last, twin, then previous, before-last, twin, new, ...), so that a load on
# the machine falls on each alike.
# Prints, per state, min / median / max of the frame rates of each variant and the ratios of the
# medians, and each drag as a line
# "FIGURE drag-200-<state> <new|previous|before-last|twin> <fps> fps".
# TWIN defaults to bare_drag of PROGRAM's build.
#     bench/app/bench_drag_xvfb.sh PROGRAM [TWIN [ROUNDS [RUNS]]]
set -euo pipefail
program=$(realpath "$1")
twin=$(realpath "${2:-$(dirname "$program")/../bench/app/bare_drag}")
rounds=${3:-6}
runs=${4:-2}
cd "$(dirname "$0")/../.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export BENCH_LIB=$PWD/bench/app/xvfb_bench_lib.sh
source "$BENCH_LIB"
variants=(new)
declare -A binary=([new]=$program [twin]=$twin)
earlier_builds

# a packet of one scene of 200 buttons on a background the scene is found on screen by; each
# variant saves into a copy of its own
mkdir -p "$work/packet/image"
convert -size 64x36 xc:'#2060a0' "$work/packet/image/background.png"
python3 > "$work/packet/project.tavx" <<'PY'
import json
def prop(name, value):
    return {"name": name, "value": value}
items = [{"propertyArray": [prop("ControlType", 9), prop("Name", "停止"),
                            prop("QmlPath", "qrc:/qml/scenePanel/RCSceneItemActionButton.qml"),
                            prop("X", 28 * (i % 20)), prop("Y", 28 * (i // 20)),
                            prop("Width", 24), prop("Height", 16)]} for i in range(200)]
scene = {"propertyArray": [prop("Name", "S"), prop("Width", 700), prop("Height", 560),
                           prop("BackgroundImg", "rcimg:/background.png")], "itemArray": items}
print(json.dumps({"version": "3.0.0", "setting": {"SceneListVisible": True},
                  "sceneArray": {"sceneArray": [scene]}}))
PY

cat > "$work/run.sh" <<'SCRIPT'
#!/usr/bin/env bash
set -euo pipefail
kind=$1 rounds=$2 out=$3 work=$4
shift 4
export HOME="$out.home" XDG_CONFIG_HOME="$out.home/.config" QT_QPA_PLATFORM=xcb QT_QUICK_BACKEND=software
export QT_LOGGING_RULES="qt.scenegraph.time.renderloop.debug=true"
rm -rf "$HOME"; mkdir -p "$HOME"
source "$BENCH_LIB"
start_stamped "$out.log" "$@"
if [[ $kind == twin ]]; then wait_window "Bare Drag"; else wait_window "Tavix Editor"; fi
mark() { echo "$EPOCHREALTIME MARK $1" >> "$out.marks"; }
# the scene rectangle on screen: the bounding box of its background's colour
scene_box() {
    import -window root "$out.png"
    convert "$out.png" -fill black +opaque '#2060a0' -fill white -opaque '#2060a0' -trim -format '%X %Y %w %h' info: |
        awk '{ gsub(/\+/, "", $1); gsub(/\+/, "", $2); print $1, $2, $1 + $3, $2 + $4 }'
}
find_scene() {
    read -r left top right bottom < <(scene_box)
    ((right - left >= 690 && right - left <= 710)) || { echo "FAIL: $kind: the scene is not whole on screen ($left $top $right $bottom)" >&2; exit 1; }
}
# a rubber band from the empty scene below right of the buttons to near its top-left holds every
# button (away from the canvas's scroll bars)
select_all() {
    mark "select $1"
    xdotool mousemove $((left + 650)) $((top + 500)) mousedown 1 sleep 0.1 mousemove $((left + 400)) $((top + 300)) \
        sleep 0.1 mousemove $((left + 8)) $((top + 8)) sleep 0.3 mouseup 1
    sleep 2
}
drag() {
    local steps=() off dir x y
    for ((r = 0; r < rounds; ++r)); do
        off=$(((r % 2) * 120)) dir=$((1 - 2 * (r % 2)))
        x=$((left + 28 * 10 + 12 + off)) y=$((top + 28 * 5 + 8 + off))
        steps=()
        for ((i = 1; i <= 60; ++i)); do
            steps+=(mousemove $((x + dir * 2 * i)) $((y + dir * 2 * i)) sleep 0.016)
        done
        xdotool mousemove "$x" "$y" mousedown 1
        sleep 0.3
        mark "drag-start $1"
        xdotool "${steps[@]}"
        mark "drag-end $1"
        xdotool mouseup 1
        sleep 1.5
    done
}
find_scene
if [[ $kind == twin ]]; then
    drag twin
else
    select_all fresh
    drag fresh
    xdotool key ctrl+s
    sleep 3
    find_scene
    select_all saved
    drag saved
    # control mode and back
    switch_mode 3
    switch_mode 3
    find_scene
    select_all control
    drag control
fi
stop_stamped
SCRIPT
chmod +x "$work/run.sh"

convert resources/control/stop.png "$work/stop.png"
run() {
    local out=$work/$1
    shift
    cp -r "$work/packet" "$out.packet"
    unshare -rn scripts/netns-run.sh scripts/xvfb-run.sh 1280x800x24 "$work/run.sh" "${@:1:1}" "$rounds" "$out" "$work" \
        "${@:2}"
}
programs=("${variants[@]}")
variants+=(twin)
for ((n = 0; n < runs; ++n)); do
    for variant in $(rotated "$n"); do
        if [[ $variant == twin ]]; then
            run "twin$n" twin "$twin" "$work/stop.png"
        else
            run "$variant$n" program "${binary[$variant]}" "$work/$variant$n.packet/project.tavx"
        fi
    done
done

python3 - "$work" "$runs" "${programs[@]}" <<'PY'
import statistics, sys
work, runs, variants = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
def rates(name):
    lines = open("%s/%s.log" % (work, name), errors="replace").readlines()
    frames = [float(l.split()[0]) for l in lines if "qt.scenegraph.time.renderloop" in l]
    selected = [float(l.split()[0]) for l in lines if "item select changed" in l and "selected: true" in l]
    marks = [l.split() for l in open("%s/%s.marks" % (work, name))]
    fps = {}
    for i, mark in enumerate(marks):
        t, what, state = float(mark[0]), mark[2], mark[3]
        if what == "select":
            end = float(marks[i + 1][0])
            if sum(t <= s <= end for s in selected) < 200:
                sys.exit("FAIL: %s (%s): the band selected fewer than 200 buttons" % (name, state))
        elif what == "drag-start":
            end = float(marks[i + 1][0])
            drawn = [f for f in frames if t <= f <= end]
            if len(drawn) < 2:
                sys.exit("FAIL: %s (%s): a drag drew no frames" % (name, state))
            fps.setdefault(state, []).append(len(drawn) / (end - t))
    return fps
figures = {v: {} for v in variants}
twin = []
for n in range(runs):
    for v in variants:
        for state, xs in rates("%s%d" % (v, n)).items():
            figures[v].setdefault(state, []).extend(xs)
    twin.extend(rates("twin%d" % n)["twin"])
def show(name, xs):
    xs = sorted(xs)
    print("| %s | %.1f / %.1f / %.1f fps |" % (name, xs[0], statistics.median(xs), xs[-1]))
print("| drag of 200 selected | min / median / max |")
print("|---|---|")
show("twin", twin)
lines = []
for state in ("fresh", "saved", "control"):
    for v in variants:
        if state not in figures[v]:
            sys.exit("FAIL: no drag of %s in state %s" % (v, state))
        show("%s, %s" % (v, state), figures[v][state])
    new = statistics.median(figures["new"][state])
    ratios = "new ÷ twin %.2f" % (new / statistics.median(twin))
    for v in variants[1:]:
        ratios += ", new ÷ %s %.2f" % (v, new / statistics.median(figures[v][state]))
    print("| %s, medians | %s |" % (state, ratios))
    for v in variants:
        lines += ["FIGURE drag-200-%s %s %.1f fps" % (state, v, x) for x in figures[v][state]]
    lines += ["FIGURE drag-200-%s twin %.1f fps" % (state, x) for x in twin]
print("\n".join(lines))
PY
