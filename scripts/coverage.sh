#!/usr/bin/env bash
# Line coverage of product folders, measured with gcov and lcov over a CTest run.
#
#     scripts/coverage.sh [-R REGEX] FOLDER...
#
# Builds build/coverage (debug, gcc --coverage, no sanitizers, no benchmarks), runs every test
# (or only those whose CTest name matches REGEX, e.g. -R '^network_' for a folder's own tests)
# and prints the line coverage of each FOLDER (e.g. network model editing) and of all of them
# together. The HTML report is written to build/coverage/html. The exit status is CTest's.
set -euo pipefail
cd "$(dirname "$0")/.."
regex=""
if [[ "${1:-}" == "-R" ]]; then
    regex=${2:?"-R needs a regular expression"}
    shift 2
fi
[[ $# -ge 1 ]] || { echo "usage: scripts/coverage.sh [-R REGEX] FOLDER..." >&2; exit 2; }
if ! command -v lcov >/dev/null || ! command -v genhtml >/dev/null; then
    sudo_cmd=""
    [[ $(id -u) -eq 0 ]] || sudo_cmd="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends lcov
fi
scripts/deps.sh

build=build/coverage
flags="--coverage -fprofile-update=atomic"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
    -DTAVIX_BENCH=OFF -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS=--coverage >/dev/null
cmake --build "$build"
lcov --quiet --zerocounters --directory "$build"

status=0
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest -j "$(nproc)" ${regex:+-R "$regex"} --output-on-failure) ||
    status=$?

lcov --quiet --capture --directory "$build" --output-file "$build/all.info" 2>/dev/null
patterns=()
for folder in "$@"; do
    folder=${folder%/}
    printf '%-10s ' "$folder"
    if ! lcov --quiet --extract "$build/all.info" "$PWD/$folder/*" --output-file "$build/$folder.info" \
        2>/dev/null; then
        echo "no product lines"
        continue
    fi
    patterns+=("$PWD/$folder/*")
    lcov --summary "$build/$folder.info" 2>&1 | grep -E '^ *lines' | sed 's/^ *//'
done
((${#patterns[@]})) || exit "$status"
lcov --quiet --extract "$build/all.info" "${patterns[@]}" --output-file "$build/selected.info"
printf '%-10s ' "together"
lcov --summary "$build/selected.info" 2>&1 | grep -E '^ *lines' | sed 's/^ *//'
genhtml --quiet --output-directory "$build/html" "$build/selected.info" >/dev/null
exit "$status"
