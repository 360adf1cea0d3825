#!/usr/bin/env bash
# Makes every download of the checked-out commit in build/release-files/: the
# Debian package, the Windows zip, the page's zip, the source (git archive), and
# SHA256SUMS over them, which `sha256sum -c SHA256SUMS` checks. One commit gives
# the same bytes from any build, in any folder, at any time, under any umask:
# every date inside is the one every build command uses (cmake/source_date.cmake):
# SOURCE_DATE_EPOCH, the last commit's time when not given.
# usage: scripts/release.sh
set -euo pipefail
cd "$(dirname "$0")/.."

# The source in the release is the commit's; the programs beside it must be too.
if ! git diff --quiet HEAD --; then
    echo "release: the work tree differs from its last commit; commit or stash first" >&2
    exit 1
fi
SOURCE_DATE_EPOCH=$(cmake -DSOURCE_DIR=. -P cmake/source_date.cmake)
export SOURCE_DATE_EPOCH
version=$(sed -n 's/^project(manacalc VERSION \([^ )]*\).*/\1/p' CMakeLists.txt)
out=build/release-files

scripts/build-deb.sh
# Made again whatever the builds hold: their dates are the epoch's, which is no
# file the build could see change.
rm -f "build/windows/manacalc-$version-win64.zip" "build/web/web/manacalc-$version-web.zip"
cmake --preset windows >/dev/null
cmake --build --preset windows --target manacalc_zip
cmake --preset web >/dev/null
cmake --build --preset web --target manacalc_web_zip

rm -rf "$out"
mkdir -p "$out"
cp "build/deb/manacalc_${version}_$(dpkg --print-architecture).deb" \
    "build/windows/manacalc-$version-win64.zip" "build/web/web/manacalc-$version-web.zip" "$out"
# Modes as the commit has them, whatever the builder's git settings; no name or
# time in the gzip header, and no options from the builder's GZIP.
git -c tar.umask=0022 archive --format=tar --prefix="manacalc-$version/" HEAD |
    env -u GZIP gzip -9n >"$out/manacalc-$version.tar.gz"
(cd "$out" && sha256sum -- manacalc* >SHA256SUMS)
ls -l "$out"
