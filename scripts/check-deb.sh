#!/usr/bin/env bash
# Builds the Debian package in build/deb (scripts/build-deb.sh), then checks it
# as a distribution would: lintian with no errors or warnings, the desktop entry,
# the AppStream metainfo, the manual pages in English and Japanese, and the
# programs run from the unpacked package. With --install it also installs the
# package with apt-get (as root, as CI does), runs it from there and removes it
# again.
# usage: scripts/check-deb.sh [--install]
set -euo pipefail
cd "$(dirname "$0")/.."
install=0
[ "${1:-}" = --install ] && install=1
start=$SECONDS
id=io.github.manacalc.manacalc

scripts/build-deb.sh
deb=$(echo build/deb/manacalc_*_"$(dpkg --print-architecture)".deb)

failures=0
fail() { echo "check-deb: FAIL: $*" >&2; failures=$((failures + 1)); }

# Without dpkg-shlibdeps CPack still makes a package, one that installs without Qt.
depends=$(dpkg-deb -f "$deb" Depends)
echo "check-deb: Depends: $depends"
[[ "$depends" == *libqt6widgets6* ]] || fail "Depends lacks the Qt libraries"
[[ "$depends" == *fonts-ipafont-gothic* ]] || fail "Depends lacks fonts-ipafont-gothic"
# Opened with dlopen on Wayland only: recommended, not a dependency.
recommends=$(dpkg-deb -f "$deb" Recommends)
echo "check-deb: Recommends: $recommends"
[[ "$recommends" == *libwayland-client0* ]] || fail "Recommends lacks libwayland-client0"
[[ "$depends" != *libwayland-client0* ]] || fail "Depends names libwayland-client0"

echo "check-deb: lintian"
lintian --fail-on error,warning "$deb" || fail "lintian"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" || fail "metainfo"
appstreamcli validate-tree --no-net "$root" || fail "AppStream tree"
for page in man1/manacalc man1/manacalc-cli ja/man1/manacalc ja/man1/manacalc-cli; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
        "$root/usr/share/man/$page.1.gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man page $page.1: $warnings"
done

# The packaged programs, stripped and hardened, keep the command-line contract.
bash tests/cli/cli_test.sh "$root/usr/bin/manacalc-cli" || fail "packaged manacalc-cli"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/manacalc" --version ||
    fail "packaged manacalc --version"

if [ $install -eq 1 ]; then
    echo "check-deb: apt-get install $deb"
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "./$deb" >/dev/null
    [ "$(/usr/bin/manacalc-cli --recovery 5)" = 2 ] || fail "installed manacalc-cli"
    [[ "$(env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/manacalc --help)" == "Usage: manacalc "* ]] ||
        fail "installed manacalc --help"
    man -w manacalc-cli >/dev/null || fail "man manacalc-cli"
    [[ "$(man -L ja -w manacalc-cli)" == */ja/man1/* ]] || fail "man -L ja manacalc-cli"
    DEBIAN_FRONTEND=noninteractive apt-get remove -y manacalc >/dev/null
fi

size=$(stat -c %s "$deb")
echo "check-deb: $deb, $size bytes, $((SECONDS - start)) s"
[ $failures -eq 0 ]
