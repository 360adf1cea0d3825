#!/bin/sh
# Sets the system DPI of the prefix in WINEPREFIX for the programs started after.
# wine 10 reads it only as its wineserver starts (wine 8 as each program starts),
# so the server starts again, for good as scripts/wine-test.sh started it, and
# with the prefix's services away from CTest's output pipe, which they would
# otherwise hold open.
# usage: set_dpi.sh WINE DPI
set -e
wine=$1
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /f /d "$2" >/dev/null
wineserver -k || true
wineserver -w
wineserver -p </dev/null >/dev/null 2>&1
"$wine" cmd /c exit </dev/null >/dev/null 2>&1
