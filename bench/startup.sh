#!/usr/bin/env bash
# Start-up time (exec to window mapped) and resident memory one second later,
# for manacalc and for its floor, a bare Qt window with the same 25 widgets:
# alternating runs in one Xvfb session, on a session bus of its own. Without
# one, every start of either program would launch a bus of its own
# (dbus-launch --autolaunch), which costs more, and varies more, than the gap
# measured. Prints the median of the paired ratios (each start against the
# floor's next to it) with their interquartile range, the memory against the
# floor, and the instructions each program runs from exec to 2 s after its
# window maps (callgrind; steady where the times are not). Goals: start-up
# at most 1.05x the floor, memory at most the floor's + 1 MiB.
# Then manacalc's memory under a headless weston, 1 s after its window shows,
# beside its memory under X11 (goal: at most 3 MiB more).
# With --compare PROGRAM another build of manacalc (say, the one before a
# change) takes its turn in the same runs, and is reported beside it.
# usage: bench/startup.sh [--compare PROGRAM] [build-dir] [runs]
set -euo pipefail
compare=
if [ "${1:-}" = --compare ]; then
    compare=$(realpath "$2")
    shift 2
fi
build=${1:-build/release}
runs=${2:-31}
timer=$build/tests/qt/map_timer
app=$build/app/manacalc
bare=$build/bench/bare_window
for f in "$timer" "$app" "$bare" ${compare:+"$compare"}; do
    [ -x "$f" ] || { echo "startup: missing $f (make build first)" >&2; exit 1; }
done
programs=("manacalc=$app" "bare=$bare")
[ -n "$compare" ] && programs+=("compared=$compare")

out=$(mktemp)
runtime=$(mktemp -d)  # the accessibility bus's socket, apart from other sessions'
trap 'rm -rf "$out" "$out.err" "$runtime"' EXIT
# -noreset: an X server that resets when its last client leaves turns the
# next start away for a moment.
xvfb-run -a -s "-screen 0 640x480x24 -noreset" env -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$runtime" \
    dbus-run-session -- bash -c '
    timer=$1 runs=$2
    shift 2
    # One unmeasured start of each warms the font caches and starts the
    # accessibility bus, as a desktop session has it running.
    for p in "$@"; do "$timer" --settle 0 -- "${p#*=}" >/dev/null; done
    for ((i = 0; i < runs; i++)); do
        for p in "$@"; do "$timer" -- "${p#*=}" | sed "s/^/${p%%=*} $i /"; done
    done
    if command -v valgrind >/dev/null; then
        for p in "$@"; do
            "$timer" --settle 2000 -- valgrind --tool=callgrind --callgrind-out-file=/dev/null \
                "${p#*=}" 2>&1 >/dev/null |
                awk -v p="${p%%=*}" "/Collected :/ { print p, 0, \"instructions\", \$4 }"
        done
    fi' _ "$timer" "$runs" "${programs[@]}" 2>"$out.err" >"$out"

qt_tests=$(dirname "$0")/../tests/qt
"$qt_tests/weston_run.sh" bash -c '
    app=$1 runs=$2 qt_tests=$3 shot=$(mktemp)
    for ((i = 0; i < runs; i++)); do
        "$app" & pid=$!
        "$qt_tests/wayland_window.sh" "$pid" "$shot" >/dev/null || exit 1
        sleep 1
        awk "/^VmRSS:/ { print \"wayland\", $i, \"rss_kib\", \$2 }" "/proc/$pid/status"
        kill "$pid"
        wait "$pid" || true
    done
    rm -f "$shot"' _ "$app" "$runs" "$qt_tests" 2>/dev/null >>"$out"

# A start that mapped no window leaves its round unpaired; say why.
grep -h '^map_timer:' "$out.err" | sort | uniq -c | sed 's/^/startup: /' >&2 || true

# Lines are "program run metric value". Prints the median, the quartiles and
# the count of what the awk program given selects from them.
quartiles() {
    awk "$1" "$out" | sort -g | awk '
        function at(q,   k) { k = 1 + q * (NR - 1); return v[int(k)] + (k - int(k)) * (v[int(k) + 1] - v[int(k)]) }
        { v[NR] = $1 } END { if (NR) printf "%g %g %g %d\n", at(0.5), at(0.25), at(0.75), NR }'
}
# Each start over the floor's in the same round.
ratios() {
    quartiles '$3 == "map_ms" { ms[$1, $2] = $4 }
        END { for (k in ms) { split(k, pk, SUBSEP); if (pk[1] == "'"$1"'" && (("bare", pk[2]) in ms)) print ms[k] / ms["bare", pk[2]] } }'
}
metric() { quartiles '$1 == "'"$1"'" && $3 == "'"$2"'" { print $4 }'; }

read -r bare_ms _ _ _ <<<"$(metric bare map_ms)"
read -r bare_kib _ _ _ <<<"$(metric bare rss_kib)"
printf 'start-up, exec to window mapped: median of %d paired runs, interquartile range\n' "$runs"
printf '  %-9s %6.1f ms\n' bare "$bare_ms"
names=(manacalc)
[ -n "$compare" ] && names+=(compared)
for name in "${names[@]}"; do
    read -r ms _ _ _ <<<"$(metric "$name" map_ms)"
    read -r ratio q1 q3 n <<<"$(ratios "$name")"
    printf '  %-9s %6.1f ms, paired ratio %.3f (%.3f-%.3f, n=%d; goal <= 1.05)\n' \
        "$name" "$ms" "$ratio" "$q1" "$q3" "$n"
done
printf 'memory 1 s after map (X11), median:\n'
printf '  %-9s %6.2f MiB\n' bare "$(awk -v k="$bare_kib" 'BEGIN { print k / 1024 }')"
for name in "${names[@]}"; do
    read -r kib q1 q3 _ <<<"$(metric "$name" rss_kib)"
    awk -v n="$name" -v k="$kib" -v a="$q1" -v b="$q3" -v f="$bare_kib" 'BEGIN {
        printf "  %-9s %6.2f MiB (%.2f-%.2f), %+.2f MiB over the floor (goal <= +1)\n", n, k / 1024, a / 1024, b / 1024, (k - f) / 1024 }'
done
if grep -q ' instructions ' "$out"; then
    printf 'instructions, exec to 2 s after map (callgrind, one run each):\n'
    read -r bare_ir _ _ _ <<<"$(metric bare instructions)"
    for name in bare "${names[@]}"; do
        read -r ir _ _ _ <<<"$(metric "$name" instructions)"
        awk -v n="$name" -v i="$ir" -v f="$bare_ir" 'BEGIN {
            printf "  %-9s %6.1f M, %.3fx the floor\n", n, i / 1e6, i / f }'
    done
fi
read -r wayland_kib _ _ _ <<<"$(metric wayland rss_kib)"
read -r app_kib _ _ _ <<<"$(metric manacalc rss_kib)"
awk -v w="$wayland_kib" -v x="$app_kib" 'BEGIN {
    printf "manacalc memory: Wayland %.1f MiB, X11 %.1f MiB, difference %+.2f MiB (goal <= 3)\n", w / 1024, x / 1024, (w - x) / 1024 }'
