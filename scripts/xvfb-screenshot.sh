#!/usr/bin/env bash
# Starts the program under a virtual X display inside a private network namespace, with a
# temporary HOME, waits until its window is shown (it exists, unmapped, well before), runs an
# optional xdotool command line against it, and saves a screenshot of the whole screen:
#     scripts/xvfb-screenshot.sh OUT.png [PROGRAM [ARGS...] [-- XDOTOOL ARGS...]]
# PROGRAM defaults to build/debug/app/tavix; ARGS go to it (a project file, for example). With
# XVFB_SCREENSHOT_LOG set, the program's output is kept in that file. Needs xvfb, xauth, xdotool
# and ImageMagick (scripts/deps.sh installs them).
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
for _ in \$(seq 1 300); do
    xdotool search --onlyvisible --name "Tavix" >/dev/null 2>&1 && break
    sleep 0.1
done
sleep 1.5
if [[ \$# -gt 0 ]]; then xdotool "\$@"; sleep 1; fi
import -window root "$out"
kill \$pid; wait \$pid || true
SCRIPT
chmod +x "$home/run.sh"
unshare -rn scripts/netns-run.sh xvfb-run -a -s "-screen 0 1280x800x24" "$home/run.sh" "$@"
[[ -n "${XVFB_SCREENSHOT_LOG:-}" ]] && cp "$home/program.log" "$XVFB_SCREENSHOT_LOG"
echo "screenshot: $out"
