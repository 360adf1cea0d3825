#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what a desktop needs:
# both programs, a valid .desktop entry and the icon in the hicolor theme, all
# under the one application id that the window also gives itself.
# usage: install_test.sh BUILD_DIR [DOCS]   (DOCS: OFF for a build without manual pages)
set -euo pipefail
build=$1
docs=${2:-ON}
id=io.github.manacalc.manacalc
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
desktop=$prefix/share/applications/$id.desktop
pages=(share/man/man1/manacalc.1.gz share/man/man1/manacalc-cli.1.gz
       share/man/ja/man1/manacalc.1.gz share/man/ja/man1/manacalc-cli.1.gz)
[ "$docs" != OFF ] || pages=()
for f in bin/manacalc bin/manacalc-cli share/applications/$id.desktop "${pages[@]}" \
         share/locale/ja/LC_MESSAGES/manacalc.mo \
         share/metainfo/$id.metainfo.xml \
         share/icons/hicolor/16x16/apps/$id.png share/icons/hicolor/32x32/apps/$id.png \
         share/icons/hicolor/scalable/apps/$id.svg; do
    [ -e "$prefix/$f" ] || fail "$f not installed"
done
if [ -e "$desktop" ]; then
    desktop-file-validate "$desktop" || fail "desktop entry invalid"
    grep -q '^Exec=manacalc$' "$desktop" || fail "desktop entry does not start manacalc"
    # A desktop finds the icon, and matches the running window to this entry, by name.
    grep -q "^Icon=$id\$" "$desktop" || fail "desktop entry's icon is not $id"
    grep -q "^StartupWMClass=$id\$" "$desktop" || fail "desktop entry's window class is not $id"
fi
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" \
    "$prefix/share/metainfo/$id.metainfo.xml" 2>/dev/null ||
    fail "metainfo does not launch $id.desktop"
[ "$("$prefix/bin/manacalc-cli" --recovery 5)" = 2 ] || fail "installed manacalc-cli does not run"
# --help and --version answer in a terminal, before anything looks for a display.
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
[[ "$("${nodisplay[@]}" "$prefix/bin/manacalc" --help)" == "Usage: manacalc "* ]] ||
    fail "manacalc --help does not answer without a display"
[[ "$("${nodisplay[@]}" "$prefix/bin/manacalc" --version)" == "manacalc "[0-9]* ]] ||
    fail "manacalc --version does not answer without a display"
[ $failures -eq 0 ] && echo "install: all in place"
[ $failures -eq 0 ]
