#!/usr/bin/env bash
# Prints the path of a clean build root of a Debian release, as a tarball that
# sbuild and autopkgtest unpack afresh for every build and every test run
# (--chroot-mode=unshare, autopkgtest-virt-unshare). Made once by mmdebstrap
# (the buildd variant, from the mirror the host's apt uses) and kept in
# /var/cache/manacalc-roots/package, outside any checkout, like
# scripts/in-debian.sh's roots.
# Unshare mode maps the user's ids to a subordinate range: a user has one from
# useradd; root gets one here. Debian 12's unshare --map-auto, which
# autopkgtest-virt-unshare uses, gives root the range on the first line of
# /etc/subuid rather than root's own, and useradd puts another account's line
# first again: root's goes first at every run.
# usage: scripts/package-root.sh RELEASE    (bookworm, trixie or unstable)
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -eq 1 ] || { echo "usage: $0 RELEASE" >&2; exit 2; }
release=$1
cache=${MANACALC_ROOTS:-/var/cache/manacalc-roots}/package
tarball=$cache/$release.tar

user=$(id -un)
for file in /etc/subuid /etc/subgid; do
    if [ "$(id -u)" -ne 0 ]; then
        grep -q "^$user:" "$file" 2>/dev/null || {
            echo "package-root: $user has no range in $file; as root: usermod --add-subuids/--add-subgids" >&2
            exit 1
        }
    elif [ "$(head -n 1 "$file" 2>/dev/null | cut -d: -f1)" != root ]; then
        roots=$(grep '^root:' "$file" 2>/dev/null || echo root:300000:65536)
        others=$(grep -v '^root:' "$file" 2>/dev/null || true)
        echo "package-root: putting $roots first in $file" >&2
        printf '%s\n' "$roots" ${others:+"$others"} >"$file"
    fi
done

if [ ! -f "$tarball" ]; then
    mkdir -p "$cache"
    options=()
    # This mirror's unstable Release file is past its Valid-Until date.
    [ "$release" != unstable ] || options+=(--aptopt='Acquire::Check-Valid-Until "false"')
    echo "package-root: making the $release build root $tarball" >&2
    scripts/debian-sources.sh "$release" |
        mmdebstrap --quiet --variant=buildd "${options[@]}" "$release" "$cache/$release.new.tar" - >&2
    mv "$cache/$release.new.tar" "$tarball"
fi
echo "$tarball"
