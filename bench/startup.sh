#!/usr/bin/env bash
# Start-up time (exec to window mapped) and resident memory one second later,
# for manacalc and for a bare Qt window with the same 25 widgets, alternating
# runs in one Xvfb session. Prints the medians and how they compare with the
# goals (at most 1.15x the bare window's start time, at most 3 MiB more memory).
# Then manacalc's memory under a headless weston, 1 s after its window shows,
# beside its memory under X11 from the same run (goal: at most 3 MiB more).
# usage: bench/startup.sh [build-dir] [runs]
set -euo pipefail
build=${1:-build/release}
runs=${2:-15}
timer=$build/tests/ui/map_timer
app=$build/app/manacalc
bare=$build/bench/bare_window
for f in "$timer" "$app" "$bare"; do
    [ -x "$f" ] || { echo "startup: missing $f (make build first)" >&2; exit 1; }
done

out=$(mktemp)
trap 'rm -f "$out"' EXIT
xvfb-run -a -s "-screen 0 640x480x24" env -u QT_QPA_PLATFORM bash -c '
    timer=$1 app=$2 bare=$3 runs=$4
    # One unmeasured start of each warms the font and shader caches.
    "$timer" --settle 0 -- "$app" >/dev/null
    "$timer" --settle 0 -- "$bare" >/dev/null
    for ((i = 0; i < runs; i++)); do
        "$timer" -- "$app" | sed "s/^/manacalc /"
        "$timer" -- "$bare" | sed "s/^/bare /"
    done' _ "$timer" "$app" "$bare" "$runs" 2>/dev/null >"$out"

ui=$(dirname "$0")/../tests/ui
"$ui/weston_run.sh" bash -c '
    app=$1 runs=$2 ui=$3 shot=$(mktemp)
    for ((i = 0; i < runs; i++)); do
        "$app" & pid=$!
        "$ui/wayland_window.sh" "$pid" "$shot" >/dev/null || exit 1
        sleep 1
        awk "/^VmRSS:/ { print \"wayland rss_kib\", \$2 }" "/proc/$pid/status"
        kill "$pid"
        wait "$pid" || true
    done
    rm -f "$shot"' _ "$app" "$runs" "$ui" 2>/dev/null >>"$out"

median() {  # program metric
    awk -v p="$1" -v m="$2" '$1 == p && $2 == m { print $3 }' "$out" | sort -n |
        awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
app_ms=$(median manacalc map_ms)
bare_ms=$(median bare map_ms)
app_kib=$(median manacalc rss_kib)
bare_kib=$(median bare rss_kib)
wayland_kib=$(median wayland rss_kib)
awk -v am="$app_ms" -v bm="$bare_ms" -v ak="$app_kib" -v bk="$bare_kib" -v wk="$wayland_kib" -v n="$runs" 'BEGIN {
    printf "start-up (median of %d): manacalc %.1f ms, bare window %.1f ms, ratio %.3f (goal <= 1.15)\n", n, am, bm, am / bm
    printf "memory 1 s after map:    manacalc %.1f MiB, bare window %.1f MiB, difference %+.2f MiB (goal <= 3)\n", ak / 1024, bk / 1024, (ak - bk) / 1024
    printf "manacalc memory:         Wayland %.1f MiB, X11 %.1f MiB, difference %+.2f MiB (goal <= 3)\n", wk / 1024, ak / 1024, (wk - ak) / 1024
}'
