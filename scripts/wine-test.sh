#!/usr/bin/env bash
# Tests the Windows build (build/windows) under wine: its CTest suites, the
# window's among them, then its --batch answers against the Linux program's,
# byte for byte.
# usage: scripts/wine-test.sh path/to/linux/manacalc-cli [lines]
set -euo pipefail
cd "$(dirname "$0")/.."
native=$1
lines=${2:-20000}
start=$(date +%s)

# A prefix of its own inside the build, so CI (as root, without a display) and
# developers alike start clean. The test preset names the same folder.
export WINEPREFIX=$PWD/build/windows/wine
export WINEDEBUG=-all
# Console programs only: no .NET or HTML engine to install into the prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"

# The first program creates the prefix, which takes longer than CTest waits for a
# test program to list its tests. Wine talks a lot while it does. The services it
# starts for a new prefix go on after that program ends, and a program started
# meanwhile can fail without a word: wait for all of them to finish (a server
# someone left running for good would make that wait endless, hence the bound).
if ! wine cmd /c exit >build/windows/wine-prefix.log 2>&1; then
    cat build/windows/wine-prefix.log
    exit 1
fi
timeout 60 wineserver -w || true
# The window's tests need no display: wine's null driver gives them windows,
# focus and keyboard input without an X server (CI has none).
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >>build/windows/wine-prefix.log 2>&1
timeout 60 wineserver -w || true

# One wineserver for the whole run. Without it every test program starts one and
# waits for it to shut down: a run took 414 s instead of 7 s. The prefix's
# services start again under it, here rather than under CTest: started by a test
# program, they would hold CTest's output pipe open and keep it waiting for good.
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
wine cmd /c exit >>build/windows/wine-prefix.log 2>&1

# Now and then wine fails to start a program at all (nothing printed, no test
# run: about one start in a few hundred under CTest here). The test preset runs a
# failed test once more; a real failure fails again, the tests being
# deterministic.
ctest --preset windows
scripts/compare-batch.sh "$lines" "$native" wine build/windows/cli/manacalc-cli.exe
echo "wine-test: $(($(date +%s) - start)) s under wine"
