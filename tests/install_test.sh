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
locales=$(mktemp -d)
trap 'rm -rf "$prefix" "$locales"' EXIT
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
# --help and --version answer in a terminal, before anything looks for a display,
# in the locale's language from the catalogue installed beside the programs; a
# fresh system has no Japanese locale, so the test makes its own.
localedef -i ja_JP -f UTF-8 "$locales/ja_JP.UTF-8" 2>/dev/null ||
    fail "cannot build the locale ja_JP.UTF-8"
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u LANGUAGE LOCPATH="$locales")
while IFS='|' read -r locale option expected; do
    out=$("${nodisplay[@]}" LC_ALL="$locale" "$prefix/bin/manacalc" "$option") && rc=0 || rc=$?
    # shellcheck disable=SC2053 # the expected text is a pattern
    [[ $rc -eq 0 && "$out" == $expected ]] ||
        fail "manacalc $option under $locale: exit $rc, does not match '$expected': $out"
done <<'EOF'
C|--help|Usage: manacalc *
ja_JP.UTF-8|--help|使用法: manacalc *終了ステータス:*
C|--version|manacalc [0-9]*Copyright *License: MIT <https://opensource.org/licenses/MIT>.*
ja_JP.UTF-8|--version|manacalc [0-9]*ライセンス: MIT <https://opensource.org/licenses/MIT>*
EOF
[ $failures -eq 0 ] && echo "install: all in place"
[ $failures -eq 0 ]
