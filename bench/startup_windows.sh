#!/usr/bin/env bash
# manacalc.exe under wine on Xvfb beside a bare Windows API window with the
# same 25 controls, alternating runs in one session: start-up (exec to window
# mapped) and the wine process's memory 1 s later (resident, peak, private),
# as medians with their spread; then the .exe sizes, and screenshots at 100 %
# and 150 % in build/windows/shots/. Goals: start-up at most 1.15x the bare
# window's, resident memory at most 2 MiB above it. The bare window is run a
# second time with its texts in manacalc.exe's face, a yardstick beside the
# goal's that tells how much of the difference is the Japanese face's.
# usage: bench/startup_windows.sh [runs]   (after make build and make windows)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-21}
timer=$PWD/build/release/tests/qt/map_timer
app=$PWD/build/windows/app/windows/manacalc.exe
bare=$PWD/build/windows/bench/windows/bare_window_win.exe
for f in "$timer" "$app" "$bare"; do
    [ -e "$f" ] || { echo "startup_windows: missing $f (make build windows first)" >&2; exit 1; }
done
loader=/usr/lib/wine/wine64  # the wine script only picks it and execs it
[ -x "$loader" ] || loader=$(command -v wine)
shots=$PWD/build/windows/shots
# The family manacalc.exe picks here: the ones before it in its list are
# Windows' own, and scripts/install-deps.sh installs this one.
face=IPAPGothic
mkdir -p "$shots"
out=$(mktemp)
trap 'rm -f "$out"' EXIT

# Programs started by wine hold on to the pipes they inherit: every output
# goes to a file. The memory is read by map_timer's --after command, whose
# parent is map_timer and whose one sibling is the program.
xvfb-run -a -s "-screen 0 640x520x24" bash -c '
    set -u
    loader=$1 timer=$2 app=$3 bare=$4 runs=$5 out=$6 shots=$7 face=$8
    . scripts/lib.sh && wine_prefix x11 || exit 1
    wineserver -p
    trap "wineserver -k" EXIT
    memory="for p in \$(pgrep -P \$PPID); do [ \$p = \$\$ ] || { awk '\''/^(VmRSS|VmHWM|RssAnon):/ { print \$1, \$2 }'\'' /proc/\$p/status; awk -v hz=\$(getconf CLK_TCK) '\''{ print \"cpu_ms\", (\$14 + \$15) * 1000 / hz }'\'' /proc/\$p/stat; }; done"
    dpi() { "$loader" reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1; }
    dpi 96
    run() {  # label program [after [arguments]]
        local one
        one=$(mktemp)
        "$timer" --after "${3:-$memory}" -- "$loader" "$2" "${@:4}" >"$one" 2>/dev/null || true
        sed "s/^/$1 /" "$one" >>"$out"
        rm -f "$one"
    }
    run warm "$app"
    run warm "$bare"
    run warm "$bare" "" "$face"
    for ((i = 0; i < runs; i++)); do
        run manacalc "$app"
        run bare "$bare"
        run bare_face "$bare" "" "$face"
    done
    run shot "$app" "import -window root -crop 200x400+0+0 $shots/manacalc-win-100.png"
    dpi 144
    run shot "$app" "import -window root -crop 200x560+0+0 $shots/manacalc-win-150.png"
    dpi 96
' _ "$loader" "$timer" "$app" "$bare" "$runs" "$out" "$shots" "$face" >/dev/null 2>&1

stats() {  # program metric: median min max
    awk -v p="$1" -v m="$2" '$1 == p && $2 == m { print $3 }' "$out" | sort -n | awk '
        { v[NR] = $1 }
        END { if (NR == 0) { print "nan nan nan"; exit }
              med = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
              print med, v[1], v[NR] }'
}
read -r am amin amax < <(stats manacalc map_ms)
read -r bm bmin bmax < <(stats bare map_ms)
printf 'start-up, exec to window mapped (median of %d, min-max):\n' "$runs"
printf '  manacalc.exe %.1f ms (%.1f-%.1f), bare window %.1f ms (%.1f-%.1f), ratio %.3f (goal <= 1.15)\n' \
    "$am" "$amin" "$amax" "$bm" "$bmin" "$bmax" "$(awk -v a="$am" -v b="$bm" 'BEGIN { print a / b }')"
# Each manacalc run and the bare run right after it share the machine's load
# of the moment: the median of their ratios is steadier than that of the medians.
paired() {  # floor: median and quartiles of manacalc's run over the floor's of its round
    paste <(awk '$1 == "manacalc" && $2 == "map_ms" { print $3 }' "$out") \
          <(awk -v f="$1" '$1 == f && $2 == "map_ms" { print $3 }' "$out") |
        awk '{ print $1 / $2 }' | sort -n |
        awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2, v[int(NR / 4) + 1], v[int(3 * NR / 4) + 1] }'
}
read -r pm plo phi < <(paired bare)
printf '  median of the %d paired runs'"'"' ratios %.3f (quartiles %.3f-%.3f)\n' "$runs" "$pm" "$plo" "$phi"
read -r fm fmin fmax < <(stats bare_face map_ms)
read -r pm plo phi < <(paired bare_face)
printf '  beside the bare window in %s: %.1f ms (%.1f-%.1f), ratio %.3f, paired %.3f (%.3f-%.3f)\n' \
    "$face" "$fm" "$fmin" "$fmax" "$(awk -v a="$am" -v b="$fm" 'BEGIN { print a / b }')" "$pm" "$plo" "$phi"
read -r am amin amax < <(stats manacalc cpu_ms)
read -r bm bmin bmax < <(stats bare cpu_ms)
printf 'CPU time of the wine process, start to 1 s after map (median, min-max):\n'
printf '  manacalc.exe %.0f ms (%.0f-%.0f), bare window %.0f ms (%.0f-%.0f), ratio %.3f\n' \
    "$am" "$amin" "$amax" "$bm" "$bmin" "$bmax" "$(awk -v a="$am" -v b="$bm" 'BEGIN { print a / b }')"
echo "memory of the wine process 1 s after map (median, min-max, MiB):"
for metric in VmRSS: VmHWM: RssAnon:; do
    read -r a amin amax < <(stats manacalc "$metric")
    read -r b bmin bmax < <(stats bare "$metric")
    awk -v m="${metric%:}" -v a="$a" -v al="$amin" -v ah="$amax" -v b="$b" -v bl="$bmin" -v bh="$bmax" 'BEGIN {
        printf "  %-7s manacalc.exe %.2f (%.2f-%.2f), bare window %.2f (%.2f-%.2f), difference %+.2f%s\n",
            m, a / 1024, al / 1024, ah / 1024, b / 1024, bl / 1024, bh / 1024, (a - b) / 1024,
            m == "VmRSS" ? " (goal <= 2)" : "" }'
done
for f in "$app" "$bare" build/windows/cli/manacalc-cli.exe; do
    printf 'size: %-20s %8d bytes\n' "$(basename "$f")" "$(stat -c %s "$f")"
done
echo "screenshots: $shots/manacalc-win-100.png, $shots/manacalc-win-150.png"
