#!/usr/bin/env bash
# The READMEs' pictures, made from the build (make pictures builds it first) and
# squeezed into doc/:
#   window-linux.png    the Qt window on Xvfb
#   window-windows.png  manacalc.exe under wine on Xvfb
#   page-phone.png      the page in headless Chromium on a phone's screen
#   recovery-medi.png   回復値 against Medi at INT 300 and Focus 0, from
#                       manacalc-cli --batch, drawn by gnuplot
# In each window the player has typed INT 100, Enter, Medi 99.5, Enter, Focus 0.
# Run it again when a window, the page or the calculation changes, and look at
# every picture before committing it.
# usage: scripts/pictures.sh
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

# Typed into the window WID as a player types: Enter moves on to the next input.
type_inputs() {
    xdotool windowfocus --sync "$1"
    xdotool type --delay 40 100
    xdotool key Return
    xdotool type --delay 40 99.5
    xdotool key Return
    xdotool type --delay 40 0
    sleep 1  # the results drawn
}

# The first window of class CLASS that shows, within a minute (wine's first start
# makes its prefix).
window_of() {
    timeout 60 xdotool search --sync --onlyvisible --class "$1" | head -1
}

# Inside xvfb-run, which has no window manager: both windows without a frame.
if [ "${1:-}" = --in-x ]; then
    work=$2
    mkdir -m 700 "$work/runtime"
    XDG_RUNTIME_DIR=$work/runtime build/release/app/manacalc &
    app=$!
    wid=$(window_of io.github.manacalc.manacalc)
    type_inputs "$wid"
    import -window "$wid" "$work/window-linux.png"
    kill "$app"

    wine_prefix x11
    wine build/windows/app/windows/manacalc.exe >/dev/null 2>&1 &
    wid=$(window_of manacalc.exe)
    type_inputs "$wid"
    import -window "$wid" "$work/window-windows.png"
    wineserver -k
    exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cli=build/release/cli/manacalc-cli
for f in build/release/app/manacalc "$cli" build/windows/app/windows/manacalc.exe \
    build/web/index.html; do
    [ -e "$f" ] || { echo "pictures: missing $f (make pictures builds it)" >&2; exit 1; }
done

# A Japanese UI, as the players' is: wine takes its language from the locale.
LC_ALL=ja_JP.UTF-8 LOCPATH=build/release/doc/locales \
    xvfb-run -a -s "-screen 0 640x480x24" "$0" --in-x "$work"

node scripts/phone_picture.mjs "$work/page-phone.png"

# Medi in half points from 0 to 200: the recovery value's steps, and the
# double step where Medi 99.5 earns the factor 1.1.
awk 'BEGIN { for (i = 0; i <= 400; i++) printf "300\t%g\t0\n", i / 2 }' >"$work/lines"
LC_ALL=C "$cli" --batch <"$work/lines" | cut -f1 | paste <(cut -f2 "$work/lines") - >"$work/recovery"
gnuplot <<EOF
set terminal pngcairo size 640,320 font "IPAPGothic,11"
set output "$work/recovery-medi.png"
set title "回復値 (INT 300, Focus 0)"
set xlabel "Medi"
set ylabel "回復値"
set xrange [0:200]
set xtics 20
set grid
unset key
set arrow from 82,21 to 98.5,17.2 lw 1.5
set label "Medi 99.5: ×1.1, 16 → 18" at 48,22
plot "$work/recovery" using 1:2 with steps lw 2 lc rgb "#1f5fa8"
EOF

mkdir -p doc
for name in window-linux window-windows page-phone recovery-medi; do
    # No text chunks: ImageMagick's dates would change the file on every run.
    rm -f "doc/$name.png"
    optipng -quiet -o5 -strip all -out "doc/$name.png" "$work/$name.png"
    printf 'pictures: doc/%s.png, %d bytes\n' "$name" "$(stat -c %s "doc/$name.png")"
done
