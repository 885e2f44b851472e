#!/usr/bin/env bash
# Installs what is missing, builds the debug build with AddressSanitizer and
# UndefinedBehaviorSanitizer (tests and benchmarks included) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build/debug -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DTAVIX_SANITIZE=ON >/dev/null
cmake --build build/debug
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd build/debug
ctest --output-on-failure -j "$(nproc)" "$@"
