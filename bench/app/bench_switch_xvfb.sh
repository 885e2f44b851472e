#!/usr/bin/env bash
# A scene switch as a user makes it: the program (PROGRAM, a Release build) under a virtual X
# display in a private network namespace with a temporary HOME, driven by xdotool, opens a project
# of two scenes, A and B, of 300 buttons each (20 x 15, the whole scene in view), and switches
# between them by clicking their tiles in the scene list, SWITCHES times fresh, then after a save
# (Ctrl+S) and then in control mode SWITCHES times each. Its twin (TWIN, bench/app/bare_switch)
# replaces 300 plain tiles on a click on the same place, SWITCHES times.
# A switch lasts from the click to the first frame drawn after the switch's line ("select
# changed" of the scene presenter, "bare switch" of the twin); frames come from the render loop's
# timing lines, each stamped with the wall clock as it arrives (xvfb_bench_lib.sh).
# With TAVIX_PREVIOUS_PROGRAM and TAVIX_BEFORE_LAST_PROGRAM naming the programs of earlier builds
# (xvfb_bench_lib.sh), those make the same switches. The variants take turns, RUNS times, each
# going first in turn (new, previous, before-last, twin, then previous, ..., new), so that a load
# on the machine falls on each alike.
# Prints, for the twin and for each state of each program, min / median / max in ms, and for each
# state the spread of its switches over the twin's median; and every switch as a line
# "FIGURE switch-<fresh|saved|control> <new|previous|before-last|twin> <value> ms" (the twin's
# under each state) for scripts/bench-figures.py. TWIN defaults to bare_switch of PROGRAM's build.
#     bench/app/bench_switch_xvfb.sh PROGRAM [TWIN [SWITCHES [RUNS]]]
set -euo pipefail
program=$(realpath "$1")
twin=$(realpath "${2:-$(dirname "$program")/../bench/app/bare_switch}")
switches=${3:-10}
runs=${4:-2}
cd "$(dirname "$0")/../.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export BENCH_LIB=$PWD/bench/app/xvfb_bench_lib.sh
source "$BENCH_LIB"
variants=(new)
declare -A binary=([new]=$program)
earlier_builds

mkdir -p "$work/packet/image"
python3 > "$work/packet/project.tavx" <<'PY'
import json
def prop(name, value):
    return {"name": name, "value": value}
def scene(name):
    items = [{"propertyArray": [prop("ControlType", 9), prop("Name", "停止所有节目"),
                                prop("QmlPath", "qrc:/qml/scenePanel/RCSceneItemActionButton.qml"),
                                prop("X", 34 * (i % 20)), prop("Y", 36 * (i // 20)),
                                prop("Width", 30), prop("Height", 20)]} for i in range(300)]
    return {"propertyArray": [prop("Name", name), prop("Width", 700), prop("Height", 560)],
            "itemArray": items}
print(json.dumps({"version": "3.0.0", "setting": {"SceneListVisible": True},
                  "sceneArray": {"sceneArray": [scene("A"), scene("B")]}}))
PY

cat > "$work/run.sh" <<'SCRIPT'
#!/usr/bin/env bash
set -euo pipefail
kind=$1 switches=$2 out=$3 work=$4
shift 4
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" QT_QPA_PLATFORM=xcb QT_QUICK_BACKEND=software
export QT_LOGGING_RULES="qt.scenegraph.time.renderloop.debug=true
scene.presenter.debug=true"
rm -rf "$HOME"; mkdir -p "$HOME"
source "$BENCH_LIB"
start_stamped "$out.log" "$@"
if [[ $kind == twin ]]; then wait_window "Bare Switch"; else wait_window "Tavix Editor"; fi
mark() { echo "$EPOCHREALTIME MARK $1" >> "$out.marks"; }
# the scene list's tiles, A and B, and a place on neither for the pointer between switches
tiles=("128 140" "385 140")
run() {
    for ((i = 0; i < switches; ++i)); do
        read -r x y <<< "${tiles[$(((i + 1) % 2))]}"
        xdotool mousemove "$x" "$y"
        sleep 0.3
        mark "$1"
        xdotool click 1
        sleep 1.2
        xdotool mousemove 600 740
        sleep 0.3
    done
}
run "$kind"
if [[ $kind == program ]]; then
    xdotool key ctrl+s
    sleep 2
    run saved
    # control mode, from the menu (its first entry, "控制模式"): the scene list stays where it is
    switch_mode 2
    run control
fi
kill -TERM $pid; wait $pid || true
wait $reader
SCRIPT
chmod +x "$work/run.sh"

convert resources/control/stop.png "$work/stop.png"
run() {
    unshare -rn scripts/netns-run.sh scripts/xvfb-run.sh 1280x800x24 "$work/run.sh" "$@"
}
programs=("${variants[@]}")
variants+=(twin)
for ((n = 0; n < runs; ++n)); do
    for variant in $(rotated "$n"); do
        if [[ $variant == twin ]]; then
            run twin "$switches" "$work/twin$n" "$work" "$twin" "$work/stop.png"
        else
            # each start saves into a copy of its own
            cp -r "$work/packet" "$work/$variant$n.packet"
            run program "$switches" "$work/$variant$n" "$work" "${binary[$variant]}" "$work/$variant$n.packet/project.tavx"
        fi
    done
done

python3 - "$work" "$runs" "${programs[@]}" <<'PY'
import statistics, sys
work, runs, variants = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
def switches(name, anchor):
    lines = open("%s/%s.log" % (work, name), errors="replace").readlines()
    frames = [float(l.split()[0]) for l in lines if "qt.scenegraph.time.renderloop" in l]
    anchors = [float(l.split()[0]) for l in lines if anchor in l]
    times = {}
    for line in open("%s/%s.marks" % (work, name)):
        t, _, state = line.split()
        t = float(t)
        switched = [a for a in anchors if t <= a <= t + 1.2]
        drawn = [f for f in frames if switched and f >= switched[0]]
        if not drawn:
            sys.exit("FAIL: a click of %s (%s) switched nothing or drew no frame" % (name, state))
        times.setdefault(state, []).append((drawn[0] - t) * 1000)
    return times
twin = [ms for n in range(runs) for ms in switches("twin%d" % n, "bare switch")["twin"]]
base = statistics.median(twin)
def show(name, xs, unit="ms"):
    xs = sorted(xs)
    print("| %s | %.2f / %.2f / %.2f %s |" % (name, xs[0], statistics.median(xs), xs[-1], unit))
figures = {}
for variant in variants:
    for n in range(runs):
        for state, xs in switches("%s%d" % (variant, n), "select changed").items():
            figures.setdefault((variant, "fresh" if state == "program" else state), []).extend(xs)
print("| switch of 300 | min / median / max |")
print("|---|---|")
show("twin", twin)
for variant in variants:
    for state in ("fresh", "saved", "control"):
        label = state + ("" if variant == "new" else ", " + variant)
        show(label, figures[(variant, state)])
        show("%s ÷ the twin's median" % label, [ms / base for ms in figures[(variant, state)]], "×")
for state in ("fresh", "saved", "control"):
    for ms in twin:
        print("FIGURE switch-%s twin %.1f ms" % (state, ms))
    for variant in variants:
        for ms in figures[(variant, state)]:
            print("FIGURE switch-%s %s %.1f ms" % (state, variant, ms))
PY
