#!/usr/bin/env bash
# Feeds the same generated lines to two manacalc-cli --batch and requires the same
# bytes on standard output, the same messages and the same exit status.
# usage: scripts/compare-batch.sh LINES REFERENCE-CLI [EMULATOR...] OTHER-CLI
#   e.g. scripts/compare-batch.sh 20000 build/release/cli/manacalc-cli \
#            wine build/windows/cli/manacalc-cli.exe
set -euo pipefail
lines=$1
reference=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Mostly what players type, and around it every kind of line the contract names:
# decimals, signs, exponents, spaces, full-width digits, empty and non-numeric
# fields, values that overflow, recovery values, bad lines, all three line ends and
# a byte-order mark. Its own generator, so every awk makes the same lines.
LC_ALL=C awk -v n="$lines" '
function rnd(k) { seed = (seed * 16807) % 2147483647; return int(seed / 2147483647 * k) }
function digits(k,   s, i) { s = ""; for (i = 0; i < k; i++) s = s rnd(10); return s }
function wide(s,   out, i, c) {
    out = ""
    for (i = 1; i <= length(s); i++) {
        c = substr(s, i, 1)
        out = out (c == "." ? "．" : c == "-" ? "－" : fw[c + 1])
    }
    return out
}
function input(top,   r) {
    r = rnd(100)
    if (r < 55) return rnd(top)
    if (r < 75) return rnd(top) "." digits(1 + rnd(3))
    if (r < 79) return "-" rnd(top)
    if (r < 82) return rnd(10) "." digits(rnd(3)) "e" (rnd(2) ? "-" : "") rnd(4)
    if (r < 85) return " " rnd(top) " "
    if (r < 89) return wide(rnd(top) "." digits(rnd(2)))
    if (r < 93) return 30000 + rnd(20000)
    if (r < 95) return "." digits(1 + rnd(2))
    if (r < 97) return ""
    return "x" rnd(10)
}
function recovery(   r) {
    r = rnd(100)
    if (r < 40) return 1 + rnd(60)
    if (r < 70) return rnd(100) "." digits(1 + rnd(3))
    if (r < 80) return (1 + rnd(9)) "." digits(rnd(4)) "E-" (1 + rnd(8))
    if (r < 85) return "-" (1 + rnd(60))
    if (r < 90) return rnd(2) ? "0" : ".4"
    if (r < 95) return 30000 + rnd(20000)
    return "abc"
}
BEGIN {
    seed = 20261208
    split("０ １ ２ ３ ４ ５ ６ ７ ８ ９", fw, " ")
    printf "\357\273\277"
    for (i = 0; i < n; i++) {
        r = rnd(100)
        if (r < 80)      line = input(200) "\t" input(130) "\t" input(130)
        else if (r < 97) line = recovery()
        else if (r < 99) line = input(200) "\t" input(130)
        else             line = input(200) "\t1\t2\t3"
        r = rnd(100)
        printf "%s%s", line, (r < 80 ? "\n" : r < 95 ? "\r\n" : "\r")
    }
}' >"$work/in"

run() {
    local name=$1 rc=0
    shift
    "$@" --batch <"$work/in" >"$work/$name.out" 2>"$work/$name.err" || rc=$?
    echo "$rc" >"$work/$name.rc"
}
run reference "$reference"
run other "$@"
# Messages are text: on Windows their lines end in CRLF, as every console program's do.
sed -i 's/\r$//' "$work/other.err"

failed=0
declare -A what=([out]="standard output" [err]="standard error" [rc]="exit status")
for part in out err rc; do
    if ! cmp -s "$work/reference.$part" "$work/other.$part"; then
        failed=1
        echo "compare-batch: ${what[$part]} differs:"
        diff "$work/reference.$part" "$work/other.$part" | head -10 || true
    fi
done
answered=$(wc -l <"$work/reference.out")
if [ "$answered" -ne "$lines" ]; then
    failed=1
    echo "compare-batch: $answered answer lines for $lines input lines"
fi
echo "compare-batch: $lines lines, $(wc -c <"$work/reference.out") bytes of answers," \
    "exit status $(cat "$work/reference.rc"): $([ $failed -eq 0 ] && echo identical || echo DIFFERENT)"
exit $failed
