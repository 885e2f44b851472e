#!/usr/bin/env bash
# xvfb-run.sh SCREEN COMMAND [ARG...]
# Runs COMMAND with DISPLAY set to a virtual X server of its own (SCREEN as WIDTHxHEIGHTxDEPTH) and
# ends the server afterwards; exits with COMMAND's status. The server picks its display number itself
# (-displayfd), so checks started side by side never race for one, as `xvfb-run -a` can. The
# server does not reset when its last client goes (-noreset): a check that ends the program and
# starts it again would otherwise find no display while the server resets, more so under load.
set -euo pipefail
screen=$1
shift
fifo=$(mktemp -u)
mkfifo "$fifo"
xvfb=""
trap '[[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null; [[ -n $xvfb ]] && wait "$xvfb" 2>/dev/null; rm -f "$fifo"' EXIT
display=""
# Servers started side by side can both take the same free number, and the one that loses exits
# at once: it is started again, three times at most.
for _ in 1 2 3; do
    Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
    xvfb=$!
    read -r -t 30 display <"$fifo" || true
    [[ -n "$display" ]] && break
    wait "$xvfb" 2>/dev/null || true
    xvfb=""
done
if [[ -z "$display" ]]; then
    echo "FAIL: the virtual X server did not start" >&2
    exit 1
fi
export DISPLAY=":$display"
status=0
"$@" || status=$?
exit "$status"
