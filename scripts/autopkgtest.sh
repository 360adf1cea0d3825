#!/usr/bin/env bash
# Runs the package's autopkgtests (debian/tests) against it installed in a fresh
# copy of a clean root of a release (scripts/package-root.sh), as Debian's CI
# runs them (its package lists fetched first, the root upgraded): the packages of build/package/BUILT_IN/, as sbuild made them, and the
# tests from the source package (scripts/source-package.sh). The log and
# autopkgtest's summary go to build/autopkgtest/RELEASE-from-BUILT_IN/.
# usage: scripts/autopkgtest.sh RELEASE [BUILT_IN]   (BUILT_IN: RELEASE itself)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh
[ $# -ge 1 ] || { echo "usage: $0 RELEASE [BUILT_IN]" >&2; exit 2; }
release=$1
built_in=${2:-$1}
start=$SECONDS
tarball=$(scripts/package-root.sh "$release")
dsc=$(source_package_dsc)
debs=(build/package/"$built_in"/*.deb)
[ -f "${debs[0]}" ] || { echo "autopkgtest: no packages in build/package/$built_in" >&2; exit 1; }
out=build/autopkgtest/$release-from-$built_in
rm -rf "$out"
mkdir -p "$out"
status=0
autopkgtest --apt-upgrade --output-dir="$out/output" --summary-file="$out/summary" "$dsc" "${debs[@]}" \
    -- unshare --release "$release" --tarball "$tarball" >"$out/log" 2>&1 || status=$?
cat "$out/summary" 2>/dev/null || tail -n 40 "$out/log"
# 0: every test passed; 2: some were skipped, which none of these may be.
[ $status -eq 0 ] || { echo "autopkgtest: $release, packages from $built_in: exit $status; the log is $out/log" >&2; exit 1; }
echo "autopkgtest: $release, packages from $built_in: passed, $((SECONDS - start)) s"
