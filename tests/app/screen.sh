# What the whole-program checks under a virtual X display share; source it after setting
# `program` and `out` (the folder of the screenshots, made here, its failure.png of an earlier run
# removed). `work` is a scratch folder, made here unless set before, removed at the end unless KEEP
# is set. Started processes go into `pids` and are stopped at the end.
mkdir -p "$out"
rm -f "$out/failure.png"
work=${work:-$(mktemp -d)}
pids=()
# A message box or dialog of the 1024 x 768 window at the screen's top left: a point of its body
# (2C2C2C) and of its header (1A1A1A).
dialog_body=(340 455) dialog_header=(600 305)
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; [[ -n "${KEEP:-}" ]] || rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=xcb QT_QUICK_BACKEND=software
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0:strict_string_checks=0"
# No session bus here: without an address, Qt's D-Bus thread forks to launch one, and under the
# sanitizers a fork beside running threads can spin for good in the child (seen once, orphaned
# after its parent was stopped, at 90% of a core for an hour).
export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/tavix-test-bus

# An X client can block for good in a query the server never answers (seen with xdotool search
# while the program maps its window): every call is bounded, and a polling caller simply retries.
xdotool() { timeout 10 "$(type -P xdotool)" "$@"; }
import() { timeout 20 "$(type -P import)" "$@"; }
fail() { echo "FAIL: $*" >&2; import -window root "$out/failure.png" || true; exit 1; }
shot() { import -window root "$out/$1.png"; }
# The colour of a screen pixel as RRGGBB.
pixel() {
    import -window root png:- | convert - -crop "1x1+$1+$2" txt:- | sed -n 's/^0,0:.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | tr a-f A-F
}
click() { xdotool mousemove --sync "$1" "$2" click 1; sleep 0.3; }
# Waits until the pixel has one of the colours (| separated), or with a leading "!" none of them;
# at most $4 tenths of a second (default 100).
wait_pixel() {
    local x=$1 y=$2 want=${3#!} tries=${4:-100} got=""
    for ((i = 0; i < tries; ++i)); do
        got=$(pixel "$x" "$y")
        if [[ "$3" == !* ]]; then
            [[ -n "$got" && "|$want|" != *"|$got|"* ]] && return 0
        else
            [[ "|$want|" == *"|$got|"* ]] && return 0
        fi
        sleep 0.1
    done
    fail "pixel ($x,$y) is $got, expected $3"
}
# Fails when the log holds a sanitizer report (the program may still have ended with status 0).
check_log() {
    ! grep -E -m 5 '^==[0-9]+==(ERROR|WARNING)|runtime error:|^SUMMARY: [A-Za-z]*Sanitizer' "$1" ||
        fail "a sanitizer report in $1"
}
# Starts the program with HOME (made when missing) and the other arguments, and waits until its
# window is drawn (the title bar's colour); its output goes to $HOME/program.log (`app_log`), its
# pid to `app`.
start_program() {
    export HOME=$1
    shift
    mkdir -p "$HOME"
    app_log=$HOME/program.log
    "$program" "$@" > "$app_log" 2>&1 &
    app=$!
    pids+=("$app")
    wait_window
}
# Waits (bounded: about 60 s, as a sanitized start may take on a busy machine) until the program
# `app`, writing to `app_log`, shows its window and has drawn it (the title bar's colour); fails,
# with the log, when it ends first or shows none.
wait_window() {
    for _ in $(seq 1 600); do
        xdotool search --onlyvisible --name "Tavix Editor" > /dev/null 2>&1 && break
        kill -0 "$app" 2>/dev/null || break
        sleep 0.1
    done
    xdotool search --onlyvisible --name "Tavix Editor" > /dev/null 2>&1 || { cat "$app_log" >&2; fail "no window"; }
    wait_pixel 600 2 2B2B2E
}
# Waits (bounded) until the program has ended by itself, and fails unless it ended with status 0
# and without a sanitizer report.
wait_exit() {
    for _ in $(seq 1 150); do
        if ! kill -0 "$app" 2>/dev/null; then
            local status=0
            wait "$app" || status=$?
            check_log "$app_log"
            ((status == 0)) || { tail -n 20 "$app_log" >&2; fail "the program ended with status $status"; }
            return 0
        fi
        sleep 0.1
    done
    fail "the program did not end"
}
# Ends a program that has no way of closing in the check: it must still be running (a crash or a
# sanitizer abort fails here), end on SIGTERM with status 143, and have no sanitizer report.
stop_program() {
    local status=0
    kill -0 "$app" 2>/dev/null || { wait "$app" || status=$?; tail -n 20 "$app_log" >&2;
        fail "the program ended by itself with status $status"; }
    kill -TERM "$app"
    wait "$app" || status=$?
    check_log "$app_log"
    ((status == 143)) || fail "the program ended with status $status on SIGTERM, not 143"
}
