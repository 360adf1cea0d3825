#!/usr/bin/env bash
# Starts the real program on a headless weston. Without Qt's Wayland plugin it
# must say so in one line and exit 1. With it, the window must start natively
# on Wayland and stay up. weston draws no title bars, so the window brings its
# own title strip, 19 px high above the calculator's 82x306, the start of the
# title readable in it, and still without Qt's title bar, whose set-up loads
# the OpenGL driver. The same on a doubled screen, at twice the pixels. The
# screenshots are left at SCREENSHOT and, doubled, at SCREENSHOT's name with
# -2x.
# usage: wayland_smoke_test.sh MANACALC SCREENSHOT
set -euo pipefail
program=$1
shot=$2
here=$(dirname "$0")
shot2x=${shot%.png}-2x.png
rm -f "$shot" "$shot2x"

# A copy of the program whose qt.conf points at an empty plugin folder: a
# Wayland session without Qt's Wayland plugin, beside a compositor that runs.
noplugin=$(mktemp -d)
trap 'rm -rf "$noplugin"' EXIT
mkdir "$noplugin/plugins"
cp "$program" "$noplugin/"
printf '[Paths]\nPlugins=%s/plugins\n' "$noplugin" >"$noplugin/qt.conf"

"$here/weston_run.sh" bash -c '
    set -euo pipefail
    program=$1
    out=$("$program" 2>&1) && rc=0 || rc=$?
    if [ "$rc" -ne 1 ] || [ "$(printf "%s\n" "$out" | wc -l)" -ne 1 ] ||
        [[ "$out" != *qt6-wayland* ]]; then
        echo "FAIL: without the Wayland plugin: exit $rc, output: $out"
        exit 1
    fi
' _ "$noplugin/$(basename "$program")"

# The title's first three characters as the window's Gothic face draws them,
# to be found at the strip's left end.
gothic=$(fc-match -f '%{file}' IPAPGothic)

window_check='
    set -euo pipefail
    program=$1 shot=$2 here=$3 gothic=$4 scale=$5

    "$program" & pid=$!
    trap "kill $pid 2>/dev/null || true" EXIT
    rect=$("$here/wayland_window.sh" "$pid" "$shot")
    size=$((82 * scale))x$(((306 + 19) * scale))
    if [[ "$rect" != "$size+"* ]]; then
        echo "FAIL: at scale $scale the window shows as $rect, not $size (our title strip above the calculator)"
        exit 1
    fi
    maps=$(cat "/proc/$pid/maps")
    if [[ "$maps" != *libqwayland* ]]; then
        echo "FAIL: the window did not start on Qt'\''s Wayland platform"
        exit 1
    fi
    if [[ "$maps" =~ libLLVM|_dri\.so ]]; then
        echo "FAIL: the OpenGL driver is loaded for a window painted by the CPU"
        exit 1
    fi
    sleep 0.5
    kill -0 "$pid" 2>/dev/null || { echo "FAIL: the program ended after showing its window"; exit 1; }
    mean=$(convert "$shot" -crop "$rect" -colorspace Gray -format "%[fx:mean]" info:)
    if ! awk -v m="$mean" "BEGIN { exit !(m > 0.5) }"; then
        echo "FAIL: the window is dark (mean $mean)"
        exit 1
    fi

    # The title must start within a few pixels of the strip'\''s left end,
    # light on dark or dark on light (active or not): the better of the two.
    work=$(mktemp -d)
    trap "kill $pid 2>/dev/null || true; rm -rf $work" EXIT
    convert -background white -fill black -font "$gothic" -pointsize $((12 * scale)) \
        label:"マナ回" -colorspace Gray "$work/title.png"
    width=$(identify -format "%w" "$work/title.png")
    convert "$shot" -crop "$((width + 6 * scale))x$((19 * scale))+${rect#*+}" +repage \
        -colorspace Gray "$work/strip.png"
    convert "$work/strip.png" -negate "$work/negated.png"
    found=$(for strip in strip negated; do
        compare -dissimilarity-threshold 1 -metric NCC -subimage-search \
            "$work/$strip.png" "$work/title.png" null: 2>&1 || true
        echo
    done | sort -rn | head -1)
    if ! awk -v s="${found%% *}" "BEGIN { exit !(s > 0.75) }"; then
        echo "FAIL: at scale $scale the strip does not start with the title: best match $found"
        exit 1
    fi
    echo "wayland smoke, scale $scale: window $rect, title found ($found), screenshot $shot"
'
"$here/weston_run.sh" bash -c "$window_check" _ "$program" "$shot" "$here" "$gothic" 1
WESTON_SCALE=2 "$here/weston_run.sh" bash -c "$window_check" _ "$program" "$shot2x" "$here" "$gothic" 2
