#!/usr/bin/env bash
# Makes every download of the checked-out commit in build/release-files/: the
# Debian package, the Windows zip, the page's zip, the source (git archive), and
# SHA256SUMS over them, which `sha256sum -c SHA256SUMS` checks. One commit gives
# the same bytes from any build, in any folder, at any time, under any umask:
# every date inside is the one every build command uses (cmake/source_date.cmake):
# SOURCE_DATE_EPOCH, the last commit's time when not given; the Debian package's
# are its changelog's, as dpkg-buildpackage gives them.
# The source is the source package's orig tarball. The Debian package is built by
# sbuild in a clean Debian 12 root, so that it installs on 12 and 13, without its
# tests (which change nothing in it); a package this folder built from the same
# source package, with its tests (make deb), is taken as it is.
# usage: scripts/release.sh
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

# The source in the release is the commit's; the programs beside it must be too.
if ! git diff --quiet HEAD --; then
    echo "release: the work tree differs from its last commit; commit or stash first" >&2
    exit 1
fi
SOURCE_DATE_EPOCH=$(cmake -DSOURCE_DIR=. -P cmake/source_date.cmake)
export SOURCE_DATE_EPOCH
version=$(project_version)
out=build/release-files

scripts/source-package.sh >/dev/null
dsc=$(source_package_dsc)
[ "$(cat build/package/bookworm/source.sha256 2>/dev/null)" = "$(sha256sum <"$dsc")" ] ||
    scripts/sbuild.sh bookworm --nocheck
# Made again whatever the builds hold: their dates are the epoch's, which is no
# file the build could see change.
rm -f "build/windows/manacalc-$version-win64.zip" "build/web/web/manacalc-$version-web.zip"
cmake --preset windows >/dev/null
cmake --build --preset windows --target manacalc_zip
cmake --preset web >/dev/null
cmake --build --preset web --target manacalc_web_zip

rm -rf "$out"
mkdir -p "$out"
cp build/package/bookworm/manacalc_*_"$(dpkg --print-architecture)".deb \
    "build/windows/manacalc-$version-win64.zip" "build/web/web/manacalc-$version-web.zip" "$out"
cp "$(source_package_dir)/manacalc_$version.orig.tar.gz" "$out/manacalc-$version.tar.gz"
(cd "$out" && sha256sum -- manacalc* >SHA256SUMS)
ls -l "$out"
