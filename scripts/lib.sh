# shellcheck shell=bash
# What the scripts share, each said once; sourced from the top of the checkout.

# The release's version, from CMakeLists.txt's project().
project_version() { sed -n 's/^project(manacalc VERSION \([^ )]*\).*/\1/p' CMakeLists.txt; }

# The folder of the source package scripts/source-package.sh makes, and its .dsc,
# the one file there named after the Debian revision too.
source_package_dir() { echo build/source-package; }
source_package_dsc() {
    local dsc=("$(source_package_dir)"/manacalc_*.dsc)
    [ -f "${dsc[0]}" ] || { echo "${0##*/}: no source package; run scripts/source-package.sh" >&2; return 1; }
    echo "${dsc[0]}"
}

# Exports wine's environment for a prefix of the build's own, made if new, so that
# CI (as root, without a display) and developers alike start clean: "tests" with
# wine's null graphics driver, which gives the window's tests windows, focus and
# keys without an X server (the windows test preset names it too, for ctest run by
# hand), or "x11" on the display (run-windows, the pictures, the bench). Console
# programs only: no .NET or HTML engine to install into it.
wine_prefix() {
    case $1 in
    tests) export WINEPREFIX=$PWD/build/windows/wine ;;
    x11) export WINEPREFIX=$PWD/build/windows/wine-x11 ;;
    *) echo "wine_prefix: tests or x11, not $1" >&2; return 2 ;;
    esac
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    # A new prefix's services go on after the program that made it ends, and a
    # program started meanwhile can fail without a word: they are waited for
    # (bounded: a server someone left running for good would never let it end).
    wine cmd /c exit >"$WINEPREFIX.log" 2>&1 || { cat "$WINEPREFIX.log" >&2; return 1; }
    timeout 60 wineserver -w || true
    [ "$1" = tests ] || return 0
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >>"$WINEPREFIX.log" 2>&1 || return 1
    timeout 60 wineserver -w || true
}
