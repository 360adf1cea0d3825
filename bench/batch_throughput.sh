#!/usr/bin/env bash
# Times manacalc-cli --batch over generated lines and prints lines per second.
# usage: bench/batch_throughput.sh [path/to/manacalc-cli] [lines]
set -euo pipefail
cli=${1:-build/release/cli/manacalc-cli}
lines=${2:-1000000}
input=$(mktemp)
trap 'rm -f "$input"' EXIT

# A mix like real use: mostly three-input lines over plausible ranges, with
# fractional Medi, some recovery values and some lines that error.
awk -v n="$lines" 'BEGIN {
    srand(20261208);
    for (i = 0; i < n; i++) {
        r = rand();
        if (r < 0.85)      printf "%d\t%.1f\t%d\n", int(rand() * 200), rand() * 130, int(rand() * 130);
        else if (r < 0.95) printf "%d\n", int(rand() * 40) + 1;
        else               printf "-80\t0\t0\n";
    }
}' > "$input"

runs=5
best=
for ((i = 0; i < runs; i++)); do
    start=$(date +%s.%N)
    "$cli" --batch < "$input" > /dev/null
    end=$(date +%s.%N)
    t=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')
    echo "run $((i + 1)): ${t} s"
    best=$(awk -v t="$t" -v b="$best" 'BEGIN { print (b == "" || t < b) ? t : b }')
done
awk -v n="$lines" -v r="$runs" -v t="$best" \
    'BEGIN { printf "batch: %d lines, best of %d runs %.3f s, %.0f lines/s\n", n, r, t, n / t }'
