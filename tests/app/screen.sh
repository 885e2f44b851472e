# What the whole-program checks under a virtual X display share; source it after setting
# `program`, `out` (the folder of the screenshots) and `work` (a scratch folder, removed at the end
# unless KEEP is set). Started processes go into `pids` and are stopped at the end.
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; [[ -n "${KEEP:-}" ]] || rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=xcb QT_QUICK_BACKEND=software
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0:strict_string_checks=0"

fail() { echo "FAIL: $*" >&2; import -window root "$out/failure.png" || true; exit 1; }
shot() { import -window root "$out/$1.png"; }
# The colour of a screen pixel as RRGGBB.
pixel() {
    import -window root png:- | convert - -crop "1x1+$1+$2" txt:- | sed -n 's/^0,0:.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | tr a-f A-F
}
click() { xdotool mousemove --sync "$1" "$2" click 1; sleep 0.3; }
# Starts the program with HOME (made when missing) and the other arguments, and waits for its
# window; its output goes to $HOME/program.log, its pid to `app`.
start_program() {
    export HOME=$1
    shift
    mkdir -p "$HOME"
    "$program" "$@" > "$HOME/program.log" 2>&1 &
    app=$!
    pids+=("$app")
    for _ in $(seq 1 300); do
        xdotool search --onlyvisible --name "Tavix Editor" > /dev/null 2>&1 && break
        sleep 0.1
    done
    xdotool search --onlyvisible --name "Tavix Editor" > /dev/null 2>&1 || fail "no window"
    sleep 1.5
}
