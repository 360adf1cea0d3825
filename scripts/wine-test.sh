#!/usr/bin/env bash
# Tests the Windows build (build/windows) under wine: its CTest suites, the
# window's among them, then its --batch answers against the Linux program's,
# byte for byte.
# usage: scripts/wine-test.sh path/to/linux/manacalc-cli [lines]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh
native=$1
lines=${2:-20000}
start=$SECONDS
# Made before CTest runs: a new prefix takes longer than CTest waits for a test
# program to list its tests.
wine_prefix tests

# One wineserver for the whole run. Without it every test program starts one and
# waits for it to shut down: a run took 414 s instead of 7 s. The prefix's
# services start again under it, here rather than under CTest: started by a test
# program, they would hold CTest's output pipe open and keep it waiting for good.
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
wine cmd /c exit >>"$WINEPREFIX.log" 2>&1

# Now and then wine fails to start a program at all (nothing printed, no test
# run: about one start in a few hundred under CTest here). The test preset runs a
# failed test once more; a real failure fails again, the tests being
# deterministic.
ctest --preset windows
scripts/compare-batch.sh "$lines" "$native" wine build/windows/cli/manacalc-cli.exe
echo "wine-test: $((SECONDS - start)) s under wine"
