#!/usr/bin/env bash
# The whole program outlives its output: started with standard output and error on a pipe whose
# reader goes away at once, it writes its lines into the void (the start-up's "main window loaded"
# comes well after the reader went), shows its window, is still running and ends on SIGTERM as
# usual. Sanitizer reports go to files of their own here, as the program's output is lost. Meant
# to run in a private network namespace under a virtual X display:
#     unshare -rn scripts/netns-run.sh scripts/xvfb-run.sh 1280x800x24 \
#         tests/app/tst_closedOutput.sh PROGRAM OUT_DIR
set -euo pipefail
program=$1 out=$2
source "$(dirname "$0")/screen.sh"
export ASAN_OPTIONS="$ASAN_OPTIONS:log_path=$work/sanitizer"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:+$UBSAN_OPTIONS:}log_path=$work/sanitizer"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config
mkdir -p "$HOME"
app_log=/dev/null

# The pipe is opened for reading and writing here, so that the program's open for writing does
# not wait for a reader; closing it right after the start leaves the program's end alone.
mkfifo "$work/output"
exec 3<> "$work/output"
"$program" > "$work/output" 2>&1 3<&- &
app=$!
pids+=("$app")
exec 3<&-
wait_window
stop_program
reports=$(find "$work" -maxdepth 1 -name 'sanitizer*')
[[ -z "$reports" ]] || { cat $reports >&2; fail "a sanitizer report"; }
echo "PASS: the program kept running with its output gone"
