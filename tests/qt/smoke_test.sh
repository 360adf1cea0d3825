#!/usr/bin/env bash
# Starts the real program under a real X server, waits for its window to map,
# and saves a screenshot (tests/qt/manacalc-screen.png in the build tree).
# usage: smoke_test.sh MAP_TIMER MANACALC SCREENSHOT
set -euo pipefail
map_timer=$1
program=$2
shot=$3
rm -f "$shot"

# The start-up check: without a display the program says so in one line and
# exits 1, but a platform that needs no display server is left to start.
no_display=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
out=$("${no_display[@]}" "$program" 2>&1) && rc=0 || rc=$?
if [ "$rc" -ne 1 ] || [ "$(printf '%s\n' "$out" | wc -l)" -ne 1 ] || [[ "$out" != *DISPLAY* ]]; then
    echo "FAIL: without a display: exit $rc, output: $out"
    exit 1
fi
"${no_display[@]}" timeout 1 "$program" -platform offscreen >/dev/null 2>&1 && rc=0 || rc=$?
if [ "$rc" -ne 124 ]; then
    echo "FAIL: -platform offscreen without a display did not stay up (exit $rc)"
    exit 1
fi

# Off Wayland nothing of Wayland's is loaded: the compositor check opens
# libwayland-client itself when it runs.
loaded=$(LD_DEBUG=libs "$program" --version 2>&1 >/dev/null)
if [[ "$loaded" == *libwayland-client* ]]; then
    echo "FAIL: manacalc --version loads libwayland-client"
    exit 1
fi

# An X server of its own. Xvfb takes a display no other server holds, one in a
# chroot of this machine's too (xvfb-run -a looks only at its own /tmp), and
# reports it once it takes clients.
number=$(mktemp)
Xvfb -displayfd 3 -nolisten tcp -screen 0 320x400x24 3>"$number" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -f "$number"' EXIT
for _ in $(seq 100); do [ -s "$number" ] && break; sleep 0.1; done
DISPLAY=:$(head -n 1 "$number") env -u QT_QPA_PLATFORM \
    "$map_timer" --settle 500 --after "import -window root '$shot'" -- "$program"

# The window is drawn: a light window, not an empty black screen.
mean=$(convert "$shot" -crop 82x306+0+0 -colorspace Gray -format '%[fx:mean]' info:)
if ! awk -v m="$mean" 'BEGIN { exit !(m > 0.5) }'; then
    echo "FAIL: the screenshot's window area is dark (mean $mean)"
    exit 1
fi
echo "smoke: window mapped, screenshot $shot (mean brightness $mean)"
