#!/usr/bin/env bash
# Installs what is missing, builds the release build and starts the program.
# Arguments are passed to the program (an optional project file to open).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DTAVIX_TESTS=OFF -DTAVIX_BENCH=OFF >/dev/null
cmake --build build/release --target tavix
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
    echo "No display found: starting Tavix on the offscreen platform (no window will be visible)."
    export QT_QPA_PLATFORM=offscreen
fi
exec build/release/app/tavix "$@"
