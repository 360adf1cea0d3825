#!/usr/bin/env bash
# Starts the real program on a headless weston. Without Qt's Wayland plugin it
# must say so in one line and exit 1. With it, the window must start natively
# on Wayland, show at its own size (no title bar of Qt's, whose set-up
# loads the OpenGL driver), stay up, and be drawn; the screenshot is left
# at SCREENSHOT.
# usage: wayland_smoke_test.sh MANACALC SCREENSHOT
set -euo pipefail
program=$1
shot=$2
here=$(dirname "$0")
rm -f "$shot"

# A copy of the program whose qt.conf points at an empty plugin folder: a
# Wayland session without Qt's Wayland plugin, beside a compositor that runs.
noplugin=$(mktemp -d)
trap 'rm -rf "$noplugin"' EXIT
mkdir "$noplugin/plugins"
cp "$program" "$noplugin/"
printf '[Paths]\nPlugins=%s/plugins\n' "$noplugin" >"$noplugin/qt.conf"

"$here/weston_run.sh" bash -c '
    set -euo pipefail
    program=$1 shot=$2 here=$3 noplugin=$4

    out=$("$noplugin/$(basename "$program")" 2>&1) && rc=0 || rc=$?
    if [ "$rc" -ne 1 ] || [ "$(printf "%s\n" "$out" | wc -l)" -ne 1 ] ||
        [[ "$out" != *qt6-wayland* ]]; then
        echo "FAIL: without the Wayland plugin: exit $rc, output: $out"
        exit 1
    fi

    "$program" & pid=$!
    trap "kill $pid 2>/dev/null || true" EXIT
    rect=$("$here/wayland_window.sh" "$pid" "$shot")
    size=82x306
    if [[ "$rect" != "$size+"* ]]; then
        echo "FAIL: the window shows as $rect, not $size (a title bar drawn by Qt?)"
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
    echo "wayland smoke: window $rect, screenshot $shot (mean brightness $mean)"
' _ "$program" "$shot" "$here" "$noplugin"
