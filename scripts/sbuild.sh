#!/usr/bin/env bash
# Builds the source package (scripts/source-package.sh) as Debian's build
# machines do: sbuild in a clean root of the release (scripts/package-root.sh),
# without network, its tests run under xvfb-run. Then blhc judges the build log's
# compiler and linker flags, and in unstable, unstable's own lintian the package:
# Debian 12's and 13's know only an older policy, and take today's tags, which
# debian/*lintian-overrides name, for errors.
# The results go to build/package/RELEASE/.
# usage: scripts/sbuild.sh RELEASE [--nocheck]
#   --nocheck   the nocheck profile: no tests built or run, nor their packages
#               installed (the release's package, which the tests do not change)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh
[ $# -ge 1 ] || { echo "usage: $0 RELEASE [--nocheck]" >&2; exit 2; }
release=$1
nocheck=0
[ "${2:-}" = --nocheck ] && nocheck=1
start=$SECONDS
tarball=$(scripts/package-root.sh "$release")
dsc=$(source_package_dsc)
out=build/package/$release
rm -rf "$out"
mkdir -p "$out"

# The changes name the distribution the package is for, whichever root built it.
options=(--chroot-mode=unshare --chroot="$tarball" --dist=unstable --nolog --no-run-autopkgtest)
lintian=0
if [ "$release" = unstable ]; then
    lintian=1
    options+=(--run-lintian --lintian-opts="--pedantic --display-info --show-overrides")
else
    options+=(--no-run-lintian)
fi
build_options="parallel=$(nproc)"
if [ $nocheck -eq 1 ]; then
    options+=(--profiles=nocheck)
    build_options+=" nocheck"
fi
# --nolog: the log goes to standard output, kept here in full.
log=$out/build.log
status=0
# The package's dates are its changelog's, as dpkg-buildpackage takes them when
# no SOURCE_DATE_EPOCH is given: the same from every build command.
(cd "$out" && env -u SOURCE_DATE_EPOCH DEB_BUILD_OPTIONS="$build_options" \
    sbuild "${options[@]}" "$OLDPWD/$dsc") >"$log" 2>&1 || status=$?
# What lintian said, from the build log; sbuild's exit status says only the build.
sed -n '/^Running lintian\.\.\.$/,/^$/p' "$log" | grep -E '^[A-Z]: ' >"$out/lintian.txt" || true
failures=0
if [ $status -ne 0 ]; then
    tail -n 60 "$log" >&2
    echo "sbuild: $release: the build failed (exit $status); the whole log is $log" >&2
    failures=$((failures + 1))
fi
if [ $lintian -eq 1 ] && { ! grep -q 'Lintian run was successful' "$log" ||
    grep -qE '^[EW]: ' "$out/lintian.txt"; }; then
    cat "$out/lintian.txt" >&2
    echo "sbuild: $release: lintian did not pass" >&2
    failures=$((failures + 1))
fi
blhc --all "$log" >"$out/blhc.txt" 2>&1 || {
    cat "$out/blhc.txt" >&2
    echo "sbuild: $release: blhc found flags missing" >&2
    failures=$((failures + 1))
}
# Which source package these were built from, for scripts/release.sh.
[ $failures -ne 0 ] || sha256sum <"$dsc" >"$out/source.sha256"
echo "sbuild: $release: $(ls "$out" | grep -c '\.deb$') package(s) in $out," \
    "$([ $lintian -eq 1 ] && echo "lintian $(grep -c '^[A-Z]: ' "$out/lintian.txt") tag(s)," \
    )$((SECONDS - start)) s"
[ $failures -eq 0 ]
