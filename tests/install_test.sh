#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what a desktop needs:
# both programs, a valid .desktop entry and the icon in the hicolor theme.
# usage: install_test.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

failures=0
for f in bin/manacalc bin/manacalc-cli share/applications/manacalc.desktop \
         share/icons/hicolor/16x16/apps/manacalc.png share/icons/hicolor/32x32/apps/manacalc.png \
         share/icons/hicolor/scalable/apps/manacalc.svg; do
    [ -e "$prefix/$f" ] || { echo "FAIL: $f not installed"; failures=$((failures + 1)); }
done
desktop-file-validate "$prefix/share/applications/manacalc.desktop" ||
    { echo "FAIL: desktop entry invalid"; failures=$((failures + 1)); }
grep -q '^Exec=manacalc$' "$prefix/share/applications/manacalc.desktop" ||
    { echo "FAIL: desktop entry does not start manacalc"; failures=$((failures + 1)); }
[ "$("$prefix/bin/manacalc-cli" --recovery 5)" = 2 ] ||
    { echo "FAIL: installed manacalc-cli does not run"; failures=$((failures + 1)); }
[ $failures -eq 0 ] && echo "install: all in place"
[ $failures -eq 0 ]
