#!/usr/bin/env bash
# Makes the Debian source package of the last commit in build/source-package/:
# the orig tarball, which is the release's source (git archive, without the
# debian/ folder), the Debian tarball and the .dsc, as dpkg-source makes them.
# The same commit gives the same bytes, in any folder, at any time, under any
# umask.
# usage: scripts/source-package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh
umask 022
# Its dates are its changelog's, as dpkg-buildpackage takes them, whatever the
# caller exports: the release's source package (scripts/release.sh exports the
# commit's date) is then the one make check-package built and tested.
unset SOURCE_DATE_EPOCH
out=$(source_package_dir)
version=$(project_version)
revision=$(git show HEAD:debian/changelog | dpkg-parsechangelog -l- -S Version)
[ "${revision%-*}" = "$version" ] || {
    echo "source-package: debian/changelog's $revision is not version $version" >&2
    exit 1
}
git diff --quiet HEAD -- || echo "source-package: the work tree differs; packaging the last commit" >&2

rm -rf "$out"
mkdir -p "$out"
orig=$out/manacalc_$version.orig.tar.gz
# Modes as the commit has them, whatever the builder's git settings; no name or
# time in the gzip header, and no options from the builder's GZIP.
git -c tar.umask=0022 archive --format=tar --prefix="manacalc-$version/" HEAD |
    env -u GZIP gzip -9n >"$orig"
tar -xzf "$orig" -C "$out"
# The tree of debian/ alone, which the export-ignore above does not reach.
git archive --format=tar --prefix=debian/ HEAD:debian | tar -x -C "$out/manacalc-$version"
(cd "$out" && dpkg-source --build "manacalc-$version" >/dev/null)
rm -rf "${out:?}/manacalc-$version"
ls "$out"
