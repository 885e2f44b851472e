#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build/fuzz.
# Run one:  build/fuzz/fuzz/fuzz_typed_value -max_total_time=60 -rss_limit_mb=2048
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
    -DTAVIX_FUZZ=ON -DTAVIX_TESTS=OFF -DTAVIX_BENCH=OFF
cmake --build build/fuzz -j "${JOBS:-2}" --target $(cd fuzz && ls fuzz_*.cpp | sed 's/\.cpp$//' | tr '\n' ' ')
