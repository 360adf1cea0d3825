#!/usr/bin/env bash
# Runs the libFuzzer target for a bounded time on a scratch copy of the seed
# corpus, so that the run never changes the checked-in seeds.
# usage: scripts/run-fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus"
cp fuzz/corpus/* "$work/corpus/"
status=0
build/fuzz/fuzz/fuzz_calc -max_total_time="$seconds" -max_len=512 -print_final_stats=1 \
    -artifact_prefix="$work/" "$work/corpus" >"$work/log" 2>&1 || status=$?
grep -E '^(Done|stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb))' \
    "$work/log" || true
if [ "$status" -ne 0 ]; then
    tail -n 60 "$work/log" >&2
    # Keep the reproducers: the scratch folder goes when the script ends.
    kept=build/fuzz/artifacts
    mkdir -p "$kept"
    echo "fuzz: failed; reproducers in $kept:" >&2
    for f in "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-*; do
        [ -e "$f" ] || continue
        cp "$f" "$kept/"
        echo "$kept/$(basename "$f")" >&2
        od -c "$f" | head -n 20 >&2
    done
    exit "$status"
fi
echo "fuzz: no failure in ${seconds} s"
