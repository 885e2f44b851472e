#!/usr/bin/env bash
# Runs one libFuzzer target on its corpus in fuzz/corpus/<name>, then minimizes that corpus,
# so that runs build on each other. Every run adds its executions to fuzz/executions.tsv;
# the last line printed is the target's cumulative count.
#
#   fuzz/run.sh typed_value 600        # 600 s on one core
#   JOBS=2 fuzz/run.sh scene_manager 3600
#
# Long runs: ASan's quarantine is capped (it otherwise grows to gigabytes and looks like a leak),
# and the run is niced so it shares the machine. Build the targets first with fuzz/build.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

name=${1:?target name, e.g. typed_value}
seconds=${2:-600}
jobs=${JOBS:-1}
binary=build/fuzz/fuzz/fuzz_${name}
corpus=fuzz/corpus/${name}
dict=fuzz/fuzz_${name}.dict
log_dir=build/fuzz/logs/${name}
[[ -x $binary ]] || { echo "missing $binary: run fuzz/build.sh" >&2; exit 1; }
mkdir -p "$corpus" "$log_dir"
rm -f "$log_dir"/*.log

export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=64:malloc_context_size=10:detect_leaks=1}
export QT_QPA_PLATFORM=offscreen
jobs_arg=()
((jobs > 1)) && jobs_arg=(-jobs="$jobs" -workers="$jobs")
dict_arg=()
[[ -f $dict ]] && dict_arg=(-dict="$dict")

# New inputs go to a scratch folder; the merge below keeps only what adds coverage.
scratch=$(mktemp -d "$root/build/fuzz/scratch.XXXXXX")
minimized=$(mktemp -d "$root/build/fuzz/minimized.XXXXXX")
trap 'rm -rf "$scratch" "$minimized"' EXIT
status=0
# Job logs (fuzz-N.log) land in the log folder.
(cd "$log_dir" && nice -n 19 "$root/$binary" "${dict_arg[@]/#-dict=/-dict=$root/}" -max_total_time="$seconds" \
    -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 "${jobs_arg[@]}" \
    -artifact_prefix="$root/$log_dir/" "$scratch" "$root/$corpus" >"$root/$log_dir/main.log" 2>&1) || status=$?

# Executions of each process: its final statistics, or its last progress line when it ended
# without them.
runs=0
for log in "$log_dir"/*.log; do
    n=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    [[ -n $n ]] || n=$(sed -n 's/^#\([0-9]*\).*/\1/p' "$log" | tail -1)
    runs=$((runs + ${n:-0}))
done

# Minimize: merge the old corpus and the new finds into a fresh folder; the corpus is replaced
# only when the merge succeeded.
mkdir -p "$scratch"
if nice -n 19 "$binary" -merge=1 -rss_limit_mb=2048 -timeout=10 "$minimized" "$corpus" "$scratch" \
    >"$log_dir/merge.log" 2>&1 && [[ -n $(ls "$minimized") ]]; then
    rm -rf "${corpus:?}"/*
    cp "$minimized"/* "$corpus"/
fi

printf '%s\t%s\t%s\t%s\n' "$(date -u +%F)" "$name" "$runs" "$status" >>fuzz/executions.tsv
total=$(awk -F'\t' -v n="$name" '$2 == n {s+=$3} END {print s+0}' fuzz/executions.tsv)
echo "$name: $runs executions this run (exit $status), $total in all, corpus $(ls "$corpus" | wc -l) files"
exit "$status"
