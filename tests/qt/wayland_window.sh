#!/usr/bin/env bash
# Waits, inside weston_run.sh, for a program's window to show on the screen:
# Wayland lets no other client see a window being mapped, so the screen is
# photographed until something other than the black desktop is on it.
# Prints the window's rectangle in screen pixels (WxH+X+Y) and leaves the
# screenshot at SHOT. Exit status 1 when the program dies first or nothing
# shows within 20 s.
# usage: wayland_window.sh PID SHOT
set -euo pipefail
pid=$1
shot=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

for _ in $(seq 200); do
    kill -0 "$pid" 2>/dev/null || { echo "wayland_window: the program ended" >&2; exit 1; }
    # weston-screenshooter names its file after the time, in its working directory.
    (cd "$dir" && weston-screenshooter >/dev/null 2>&1) || true
    file=$(find "$dir" -name 'wayland-screenshot*.png' -print -quit)
    if [ -n "$file" ]; then
        mean=$(convert "$file" -format '%[fx:mean]' info:)
        mv "$file" "$shot"
        if awk -v m="$mean" 'BEGIN { exit !(m > 0) }'; then
            convert "$shot" -fuzz 2% -trim -format '%wx%h%O\n' info:
            exit 0
        fi
    fi
    sleep 0.1
done
echo "wayland_window: no window showed within 20 s" >&2
exit 1
