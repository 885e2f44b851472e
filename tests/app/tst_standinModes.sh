#!/usr/bin/env bash
# The whole program against every mode of the stand-in media server that the README's table of its
# options documents, as the operator sees it: the table's last column holds each run (the
# stand-in's arguments) and what the pill and the connect dialog show when, which
# tests/app/standin_modes.py reads and checks against the screen. A row without a run, or an option
# of the stand-in's --help that no row names, fails the check. Each run starts both afresh (the
# program on a project, with a home of its own) and ends with the program still running; it must
# end on SIGTERM with status 143 and no sanitizer report, and the stand-in must still run. Meant to
# run inside a private network namespace (the program and the stand-in use their fixed ports):
#     unshare -rn scripts/netns-run.sh scripts/xvfb-run.sh 1280x800x24 \
#         tests/app/tst_standinModes.sh PROGRAM MEDIA_SERVER_STANDIN OUT_DIR PART PARTS
# runs every PARTS-th run of the table from the PART-th on. Screenshots land in OUT_DIR.
set -euo pipefail
program=$1 mediaserver=$2 out=$3 part=$4 parts=$5
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
source "$source_dir/tests/app/screen.sh"
judge="$source_dir/tests/app/standin_modes.py"

"$mediaserver" --help > "$work/help.txt"
python3 "$judge" runs "$source_dir/README.md" "$work/help.txt" "$part" "$parts" > "$work/runs.tsv" ||
    fail "the README's table of the stand-in's options cannot be checked"
[[ -s "$work/runs.tsv" ]] || fail "no run of the README's table falls to part $part of $parts"

# A state for --state: one program and one track, answered as the sample's are.
cat > "$work/state.json" <<'JSON'
{"setProgramTable": {"programArray": [{"id": "p1", "name": "开场", "playState": 0}],
  "programLayerArray": [{"id": "l1", "name": "视频", "programLayerType": 0}],
  "programNodeArray": [{"id": "n1", "name": "片头", "playState": 0, "length": 60000, "progress": 0,
                        "programLayerId": "l1", "programIdArray": ["p1"]}]},
 "setTrackManager": {"trackArray": [{"name": "轨道", "id": "t1", "playState": 0, "progress": 0}]},
 "globalProperties": {"volume": 0.5}}
JSON
packet="$work/project"
mkdir -p "$packet"
cp "$source_dir/resources/empty/project.json" "$source_dir/resources/empty/thumbnail.png" "$packet/"

rm -f "$out"/*.png
count=0 failed=()
while IFS=$'\t' read -r -u 3 args outcome; do
    name=$args
    count=$((count + 1))
    slug=$(printf '%s' "${name#--}" | tr -c 'a-zA-Z0-9' '_')
    echo "== $name: $outcome"
    log="$work/mediaserver-$count.log"
    # FILE is the state above after --state, the stand-in's log after --log; other paths are the
    # source tree's.
    read -r -a words <<< "$args"
    standin_args=() previous=""
    for word in "${words[@]}"; do
        case "$previous $word" in
            "--state FILE") word="$work/state.json" ;;
            "--log FILE") word="$log" ;;
            *) [[ "$word" != -* && -e "$source_dir/$word" ]] && word="$source_dir/$word" ;;
        esac
        standin_args+=("$word")
        previous=$word
    done
    [[ " ${words[*]} " == *" --log "* ]] || standin_args+=(--log "$log")
    "$mediaserver" "${standin_args[@]}" > "$work/mediaserver-$count.out" 2>&1 &
    server=$!
    pids+=("$server")
    for _ in $(seq 1 50); do grep -q '"listening"' "$log" 2>/dev/null && break; sleep 0.1; done
    grep -q '"listening"' "$log" 2>/dev/null || { cat "$work/mediaserver-$count.out" >&2; fail "$name: the stand-in did not start"; }
    t0=$(date +%s.%N)
    start_program "$work/home-$count" "$packet/project.json"
    if ! python3 "$judge" watch "$outcome" "$t0" "$log" "$out" "$slug"; then
        failed+=("$name")
        import -window root "$out/$slug-failure.png" || true
    fi
    stop_program
    kill -0 "$server" 2>/dev/null || fail "$name: the stand-in ended by itself"
    kill "$server"
    status=0
    wait "$server" || status=$?
    check_log "$work/mediaserver-$count.out"
    ((status == 143)) || fail "$name: the stand-in ended with status $status on SIGTERM, not 143"
done 3< "$work/runs.tsv"
((${#failed[@]} == 0)) || fail "${#failed[@]} of $count runs not as the README says: $(printf '[%s] ' "${failed[@]}")"
echo "all $count runs as the README says"
