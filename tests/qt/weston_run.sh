#!/usr/bin/env bash
# Runs a command against a headless weston of its own, as xvfb-run does for X:
# a private XDG_RUNTIME_DIR, the CPU renderer (no GPU, no seat, works as root),
# and a black desktop without panel, so that a screenshot shows the client
# windows alone. DISPLAY is unset, so a Qt program cannot fall back to X11.
# The debug extension lets weston-screenshooter photograph the screen.
# WESTON_SCALE=2 makes it a doubled (HiDPI) screen.
# usage: weston_run.sh COMMAND [ARGS...]
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: weston_run.sh COMMAND [ARGS...]" >&2; exit 2; }

runtime=$(mktemp -d)  # mode 0700, as libwayland requires
weston_pid=
cleanup() {
    if [ -n "$weston_pid" ]; then
        kill "$weston_pid" 2>/dev/null || true
        wait "$weston_pid" 2>/dev/null || true
    fi
    rm -rf "$runtime"
}
trap cleanup EXIT

# No animations, so that a window is photographed as drawn, not fading in. An
# empty input-method path keeps weston from starting its on-screen keyboard.
cat >"$runtime/weston.ini" <<'EOF'
[shell]
background-color=0xff000000
panel-position=none
animation=none
startup-animation=none
focus-animation=none
[input-method]
path=
EOF

export XDG_RUNTIME_DIR=$runtime
scale=${WESTON_SCALE:-1}
weston --config="$runtime/weston.ini" --backend=headless-backend.so --use-pixman \
    --width=$((320 * scale)) --height=$((400 * scale)) --scale="$scale" \
    --socket=weston --idle-time=0 --debug >"$runtime/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 100); do
    [ -S "$runtime/weston" ] && break
    kill -0 "$weston_pid" 2>/dev/null || break
    sleep 0.05
done
if [ ! -S "$runtime/weston" ]; then
    echo "weston_run: weston did not start:" >&2
    cat "$runtime/weston.log" >&2 || true
    exit 1
fi

env -u DISPLAY -u QT_QPA_PLATFORM WAYLAND_DISPLAY=weston "$@"
