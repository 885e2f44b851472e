#!/usr/bin/env bash
# A save as a user makes it: the program (PROGRAM, a Release build) under a virtual X display in a
# private network namespace with a temporary HOME, driven by xdotool, opens a packet of 1,000 and
# one of 5,000 catalogue items (written by the program's own save, bench/app/item_packets: 12 MB
# and 63 MB), moves an item by a key (a click on it, then the right arrow), and saves by Ctrl+S,
# SAVES times per start. A save lasts from the key until the window has settled: the last frame
# the window drew or the last work of its GUI thread (found running, waiting for the disk or
# having used CPU time) before 500 ms without either, watched from outside the program
# (watch_settled.py), and not before the project file was replaced (a new file renamed over it).
# The time to the file replaced is given too. Its twin (TWIN, bench/app/bare_save: the same file
# parsed in a bare window, written on the same key as indented JSON through an unbuffered
# QSaveFile) is timed the same way. With TAVIX_PREVIOUS_PROGRAM and TAVIX_BEFORE_LAST_PROGRAM
# naming the programs of earlier builds (xvfb_bench_lib.sh), those save the same packets the same
# way. Each start gets a fresh copy of the packet; the variants take turns, ROUNDS starts each per
# packet, each going first in turn, so that the machine's load falls on all of them alike.
# Prints min / median / max in ms per packet and variant, and each save as the lines
# "FIGURE save-<1000|5000> <variant> <value> ms" (to settled) and
# "FIGURE save-<1000|5000>-replaced <variant> <value> ms" (variants new, previous, before-last,
# twin) for scripts/bench-figures.py; then the program's spread over the other variants' medians.
# TWIN and ITEM_PACKETS default to those of PROGRAM's build.
#     bench/app/bench_save_xvfb.sh PROGRAM [TWIN [ROUNDS [SAVES]]]
set -euo pipefail
program=$(realpath "$1")
twin=$(realpath "${2:-$(dirname "$program")/../bench/app/bare_save}")
rounds=${3:-3}
saves=${4:-3}
packets=$(realpath "${ITEM_PACKETS:-$(dirname "$program")/../bench/app/item_packets}")
cd "$(dirname "$0")/../.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export BENCH_LIB=$PWD/bench/app/xvfb_bench_lib.sh WATCH_SETTLED=$PWD/bench/app/watch_settled.py
source "$BENCH_LIB"
variants=(new)
declare -A binary=([new]=$program [twin]=$twin)
earlier_builds
variants+=(twin)

unshare -rn scripts/netns-run.sh "$packets" "$work/packets" 1000 5000 > /dev/null

cat > "$work/run.sh" <<'SCRIPT'
#!/usr/bin/env bash
set -euo pipefail
kind=$1 saves=$2 out=$3 work=$4 file=$5
shift 5
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" QT_QPA_PLATFORM=xcb QT_QUICK_BACKEND=software
export QT_LOGGING_RULES="qt.scenegraph.time.renderloop.debug=true"
rm -rf "$HOME"; mkdir -p "$HOME"
source "$BENCH_LIB"
start_stamped "$out.log" "$@" "$file"
if [[ $kind == twin ]]; then wait_window "Bare Save"; else wait_window "Tavix Editor"; fi
# keys go to the window under the pointer (no window manager)
xdotool mousemove 512 400
thumbnail=$(dirname "$file")/thumbnail.png
drawn=$(stat -c %Y.%Z "$thumbnail" 2>/dev/null || true)
for ((i = 0; i < saves; ++i)); do
    if [[ $kind != twin ]]; then
        # the scenes hold large items at their top left corner: the top one there is selected
        # and moved a step
        xdotool mousemove "$ITEM_X" "$ITEM_Y" click 1
        sleep 0.5
        xdotool key Right
        sleep 1
    fi
    # the watcher says it is ready in a file of its own (none left from the last)
    rm -f "$out.watch"
    python3 "$WATCH_SETTLED" "$pid" "$out.log" 500 "$file" > "$out.watch" &
    watcher=$!
    until [[ -s $out.watch ]]; do sleep 0.05; done
    start=$EPOCHREALTIME
    xdotool key ctrl+s
    wait $watcher || { echo "the program's last lines:" >&2; tail -n 20 "$out.log" >&2; exit 1; }
    echo "$start $(tail -n 1 "$out.watch")" >> "$out.saves"
    # what follows the save (the program draws the packet's thumbnail) is over before the next
    if [[ $kind != twin ]]; then
        for _ in $(seq 1 300); do
            [[ $(stat -c %Y.%Z "$thumbnail" 2>/dev/null) != "${drawn:-}" ]] && break
            sleep 0.1
        done
        drawn=$(stat -c %Y.%Z "$thumbnail" 2>/dev/null || true)
    fi
    sleep 2
done
kill -TERM $pid; wait $pid || true
wait $reader
SCRIPT
chmod +x "$work/run.sh"

for count in 1000 5000; do
    for ((r = 0; r < rounds; ++r)); do
        # each variant goes first in turn
        for variant in $(rotated "$r"); do
            run=$work/run-$count-$variant-$r
            rm -rf "$run"; cp -r "$work/packets/items$count" "$run"
            kind=program; [[ $variant == twin ]] && kind=twin
            ITEM_X=${ITEM_X:-100} ITEM_Y=${ITEM_Y:-300} unshare -rn scripts/netns-run.sh scripts/xvfb-run.sh 1280x800x24 \
                "$work/run.sh" "$kind" "$saves" "$work/$variant-$count" "$work" "$run/project.tavx" "${binary[$variant]}"
            if [[ $kind == program ]] && cmp -s "$work/packets/items$count/project.tavx" "$run/project.tavx"; then
                echo "FAIL: $variant saved no edit of the $count items" >&2
                exit 1
            fi
        done
    done
done

python3 - "$work" "${variants[@]}" <<'PY'
import statistics, sys
work, variants = sys.argv[1], sys.argv[2:]
def saves(variant, count):
    # each line: the key, the file replaced, the window settled
    rows = [[float(x) for x in l.split()] for l in open("%s/%s-%d.saves" % (work, variant, count))]
    return [(r[2] - r[0]) * 1000 for r in rows], [(r[1] - r[0]) * 1000 for r in rows]
figures = {(v, c): saves(v, c) for v in variants for c in (1000, 5000)}
spread = lambda xs, f="%.1f": " / ".join(f % x for x in (min(xs), statistics.median(xs), max(xs)))
print("| save, Ctrl+S to window settled (to file replaced) | min / median / max |")
print("|---|---|")
for count in (1000, 5000):
    for v in variants:
        settled, replaced = figures[(v, count)]
        print("| %d items, %s | %s ms (%s ms) |" % (count, v, spread(settled), spread(replaced)))
    for other in variants[1:]:
        base = statistics.median(figures[(other, count)][0])
        print("| %d items, new ÷ %s's median | %s × |" % (count, other, spread([ms / base for ms in figures[("new", count)][0]], "%.2f")))
for count in (1000, 5000):
    for v in variants:
        settled, replaced = figures[(v, count)]
        print("\n".join("FIGURE save-%d %s %.1f ms" % (count, v, ms) for ms in settled))
        print("\n".join("FIGURE save-%d-replaced %s %.1f ms" % (count, v, ms) for ms in replaced))
PY
