#!/usr/bin/env bash
# Starts the program under a virtual X display inside a private network namespace, with a
# temporary HOME, waits until its window is drawn, runs an optional xdotool command line against
# it, waits until the screen has settled (two grabs in a row alike) and saves a screenshot of the
# whole screen:
#     scripts/xvfb-screenshot.sh OUT.png [PROGRAM [ARGS...] [-- XDOTOOL ARGS...]]
# PROGRAM defaults to build/debug/app/tavix; ARGS go to it (a project file, for example). With
# XVFB_SCREENSHOT_LOG set, the program's output is kept in that file. Fails (status 1) when the
# window never shows or the screen never settles, when the program ends before it is stopped or
# does not end with SIGTERM's status then, and when its output holds a sanitizer report. Needs
# xvfb, xauth, xdotool and ImageMagick (scripts/deps.sh installs them).
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "$1")
program=$(realpath -m "${2:-build/debug/app/tavix}")
shift $(( $# >= 2 ? 2 : 1 ))
program_args=()
while [[ $# -gt 0 && "$1" != "--" ]]; do program_args+=("$(printf '%q' "$1")"); shift; done
[[ "${1:-}" == "--" ]] && shift
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
cat > "$home/run.sh" <<SCRIPT
#!/usr/bin/env bash
set -euo pipefail
export HOME="$home" XDG_CONFIG_HOME="$home/.config" QT_QPA_PLATFORM=xcb
"$program" ${program_args[*]:-} > "$home/program.log" 2>&1 &
pid=\$!
fail() { echo "FAIL: \$*" >&2; kill \$pid 2>/dev/null || true; exit 1; }
xdotool() { timeout 10 "\$(type -P xdotool)" "\$@"; }
import() { timeout 20 "\$(type -P import)" "\$@"; }
grab() { import -window root rgb:- | md5sum; }
running() { kill -0 \$pid 2>/dev/null || { status=0; wait \$pid || status=\$?; fail "the program ended with status \$status"; }; }
# The window is drawn once the title bar has its colour.
drawn=""
for _ in \$(seq 1 300); do
    running
    colour=\$(import -window root png:- | convert - -crop 1x1+600+2 txt:- | sed -n 's/^0,0:.*#\\([0-9A-Fa-f]\\{6\\}\\).*/\\1/p')
    [[ "\${colour^^}" == 2B2B2E ]] && { drawn=yes; break; }
    sleep 0.1
done
[[ -n "\$drawn" ]] || fail "no window was drawn"
if [[ \$# -gt 0 ]]; then xdotool "\$@"; fi
settled="" last=\$(grab)
for _ in \$(seq 1 100); do
    sleep 0.2
    running
    now=\$(grab)
    [[ "\$now" == "\$last" ]] && { settled=yes; break; }
    last=\$now
done
[[ -n "\$settled" ]] || fail "the screen did not settle"
import -window root "$out"
running
kill -TERM \$pid
status=0
wait \$pid || status=\$?
[[ \$status == 143 ]] || fail "the program ended with status \$status on SIGTERM, not 143"
SCRIPT
chmod +x "$home/run.sh"
status=0
unshare -rn scripts/netns-run.sh scripts/xvfb-run.sh 1280x800x24 "$home/run.sh" "$@" || status=$?
[[ -n "${XVFB_SCREENSHOT_LOG:-}" ]] && cp "$home/program.log" "$XVFB_SCREENSHOT_LOG"
if grep -E -m 5 '^==[0-9]+==(ERROR|WARNING)|runtime error:|^SUMMARY: [A-Za-z]*Sanitizer' "$home/program.log"; then
    echo "FAIL: a sanitizer report in the program's output" >&2
    status=1
fi
((status == 0)) || exit 1
echo "screenshot: $out"
