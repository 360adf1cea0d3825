#!/usr/bin/env bash
# make run as a newcomer meets it on a fresh Debian: in a clean root of RELEASE
# (scripts/in-debian.sh), what it installs (scripts/try-make-run.sh), and its
# window mapped on an X server of this machine's. As root.
# usage: scripts/check-make-run.sh RELEASE [MAX_MB]   (MAX_MB: on disk, by apt; 800)
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -ge 1 ] || { echo "usage: $0 RELEASE [MAX_MB]" >&2; exit 2; }
release=$1
max_mb=${2:-800}
start=$SECONDS
# The window's title begins so (xdotool takes a pattern, which the rest is not).
title="^マナ回復速度計算 Ver"
log=build/check-make-run-$release.log
mkdir -p build

# The server reports the display it took, once it takes clients.
number=$(mktemp)
Xvfb -displayfd 3 -nolisten tcp -screen 0 640x480x24 3>"$number" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb ${run:-} 2>/dev/null || true; rm -f "$number"' EXIT
for _ in $(seq 100); do [ -s "$number" ] && break; sleep 0.1; done
DISPLAY=:$(head -n 1 "$number")
export DISPLAY

scripts/in-debian.sh "$release" scripts/try-make-run.sh >"$log" 2>&1 &
run=$!
mapped=0
# The build takes a few minutes: the window has until then and a bit more.
if timeout 1200 xdotool search --sync --onlyvisible --name "$title" >/dev/null 2>&1; then
    mapped=1
    echo "check-make-run: $release: the window mapped after $((SECONDS - start)) s"
fi
# The run is ended by its id; its cleanup ends what it left in its root, the window.
kill $run 2>/dev/null || true
wait $run || true
unset run
grep '^try-make-run: ' "$log" || { tail -n 30 "$log" >&2; exit 1; }
mb=$(sed -n 's/^try-make-run: .* \([0-9,]*\) MB on disk.*/\1/p' "$log" | tr -d ,)
[ $mapped -eq 1 ] || { tail -n 30 "$log" >&2; echo "check-make-run: $release: no window" >&2; exit 1; }
[ -n "$mb" ] && [ "$mb" -le "$max_mb" ] ||
    { echo "check-make-run: $release: ${mb:-no figure of} MB on disk, over $max_mb" >&2; exit 1; }
echo "check-make-run: $release: passed in $((SECONDS - start)) s"
