# Sourced by the user-level benchmarks (bench_*_xvfb.sh), outside and inside their virtual display.
#   earlier_builds
#       appends to `variants` the earlier builds named in the environment, in this order:
#       "previous" (TAVIX_PREVIOUS_PROGRAM, the build before this one) and "before-last"
#       (TAVIX_BEFORE_LAST_PROGRAM, the one before that), and puts each one's program into the
#       caller's associative array `binary`;
#   rotated N
#       prints `variants`, one a line, starting at the N-th (modulo their count): the order of
#       round N, so that each variant goes first in turn;
#   start_stamped LOG PROGRAM [ARG...]
#       starts PROGRAM in the background (its pid in $pid, ended when the caller exits) with its
#       terminal read by a reader ($reader) that stamps each line with the wall clock as it
#       arrives, into LOG: the clock that the marks are taken on;
#   stop_stamped
#       ends that program (TERM) and waits for it and its reader;
#   wait_window TITLE
#       waits up to 60 s for a visible window of that title, then 3 s for it to settle;
#   xdotool ...
#       xdotool, given up after 20 s;
#   switch_mode SETTLE
#       clicks the first entry of the main window's system menu ("控制模式" in edit mode, "编辑模式"
#       in control mode; the window as the program first shows it on a 1280 x 800 screen), then
#       waits SETTLE seconds.
earlier_builds() {
    if [[ -n ${TAVIX_PREVIOUS_PROGRAM:-} ]]; then
        variants+=(previous)
        binary[previous]=$(realpath "$TAVIX_PREVIOUS_PROGRAM")
    fi
    if [[ -n ${TAVIX_BEFORE_LAST_PROGRAM:-} ]]; then
        variants+=(before-last)
        binary[before-last]=$(realpath "$TAVIX_BEFORE_LAST_PROGRAM")
    fi
}
rotated() {
    local k
    for ((k = 0; k < ${#variants[@]}; ++k)); do
        echo "${variants[$(((k + $1) % ${#variants[@]}))]}"
    done
}
start_stamped() {
    local log=$1
    shift
    rm -f "$log.terminal"
    mkfifo "$log.terminal"
    python3 -c '
import os, sys, time
out, rest = sys.stdout.buffer, b""
while True:
    chunk = os.read(0, 1 << 16)
    if not chunk:
        break
    stamp = b"%.6f " % time.time()
    lines = (rest + chunk).split(b"\n")
    rest = lines.pop()
    out.write(b"".join(stamp + line + b"\n" for line in lines))
    out.flush()
out.write(rest)
' < "$log.terminal" > "$log" &
    reader=$!
    "$@" > "$log.terminal" 2>&1 &
    pid=$!
    trap 'kill $pid 2>/dev/null || true' EXIT
}
stop_stamped() {
    kill -TERM $pid
    wait $pid || true
    wait $reader
}
xdotool() { timeout 20 "$(type -P xdotool)" "$@"; }
wait_window() {
    for _ in $(seq 1 600); do
        xdotool search --onlyvisible --name "$1" > /dev/null 2>&1 && { sleep 3; return 0; }
        sleep 0.1
    done
    echo "FAIL: no window \"$1\"" >&2
    return 1
}
switch_mode() {
    xdotool mousemove 994 63 click 1
    sleep 1
    xdotool mousemove 949 95 click 1
    sleep "$1"
}
