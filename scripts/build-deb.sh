#!/usr/bin/env bash
# Builds the Debian package, build/deb/manacalc_<version>_<arch>.deb, with Debian's
# default build flags. scripts/check-deb.sh checks it, scripts/release.sh ships it.
# usage: scripts/build-deb.sh
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/deb
# The package's folders, and the members of the .deb itself, take their modes from
# the umask: the same one for every builder, as dpkg-buildpackage --sanitize-env sets.
umask 022

# What a Debian package build would use: hardening (fortified functions, stack
# protector, relro, PIE) and a build path mapped out of the binaries. Debian leaves
# bindnow off by default; it costs this program well under a millisecond at start
# and makes the whole relocation table read-only, so it is turned on as many
# packages do. CMake does not read CPPFLAGS, so they go in with the compiler flags.
export DEB_BUILD_MAINT_OPTIONS=${DEB_BUILD_MAINT_OPTIONS:-hardening=+all}
eval "$(dpkg-buildflags --export=sh)"
# Dates inside the package are the ones every build command uses (the commit's,
# unless given), so that this package is the release's, byte for byte.
SOURCE_DATE_EPOCH=$(cmake -DSOURCE_DIR=. -P cmake/source_date.cmake)
export SOURCE_DATE_EPOCH

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DMANACALC_WERROR="${MANACALC_WERROR:-OFF}" \
    -DMANACALC_BUILD_TESTS=OFF -DMANACALC_BUILD_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$CPPFLAGS $CXXFLAGS" -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS" >/dev/null
cmake --build "$build"
rm -f "$build"/manacalc_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(echo "$build"/manacalc_*_"$(dpkg --print-architecture)".deb)
[ -f "$deb" ] || { echo "build-deb: cpack made no package" >&2; exit 1; }
