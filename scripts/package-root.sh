#!/usr/bin/env bash
# Prints the path of a clean root of a Debian release, a tarball made once by
# mmdebstrap from the mirror the host's apt uses and unpacked afresh for each use:
# buildd (the default) for sbuild --chroot-mode=unshare and autopkgtest-virt-unshare,
# minbase with git, make, sudo and ca-certificates (a newcomer's fresh machine)
# for scripts/in-debian.sh. Kept in /var/cache/manacalc-roots, outside any
# checkout, so that make clean keeps them and every clone and CI run on the
# machine shares them.
# Unshare mode maps the user's ids to a subordinate range, which useradd gives a
# user and this script root. As root, Debian 12's unshare --map-auto
# (autopkgtest-virt-unshare's) takes the range on the first line of /etc/subuid,
# and a later useradd puts another account's first: root's goes first every time.
# usage: scripts/package-root.sh RELEASE [buildd|minbase]   (bookworm, trixie or unstable)
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -ge 1 ] || { echo "usage: $0 RELEASE [buildd|minbase]" >&2; exit 2; }
release=$1
variant=${2:-buildd}
options=(--variant="$variant")
[ "$variant" != minbase ] || options+=("--include=git,make,sudo,ca-certificates")
cache=${MANACALC_ROOTS:-/var/cache/manacalc-roots}
tarball=$cache/$release-$variant.tar

user=$(id -un)
for file in /etc/subuid /etc/subgid; do
    if [ "$(id -u)" -ne 0 ]; then
        grep -q "^$user:" "$file" 2>/dev/null || {
            echo "package-root: $user has no range in $file; as root: usermod --add-subuids/--add-subgids" >&2
            exit 1
        }
    elif [ "$variant" = buildd ] && [ "$(head -n 1 "$file" 2>/dev/null | cut -d: -f1)" != root ]; then
        roots=$(grep '^root:' "$file" 2>/dev/null || echo root:300000:65536)
        others=$(grep -v '^root:' "$file" 2>/dev/null || true)
        echo "package-root: putting $roots first in $file" >&2
        printf '%s\n' "$roots" ${others:+"$others"} >"$file"
    fi
done

if [ ! -f "$tarball" ]; then
    mkdir -p "$cache"
    # This mirror's unstable Release file is past its Valid-Until date.
    [ "$release" != unstable ] || options+=(--aptopt='Acquire::Check-Valid-Until "false"')
    echo "package-root: making the $release $variant root $tarball" >&2
    scripts/debian-sources.sh "$release" |
        mmdebstrap --quiet "${options[@]}" "$release" "${tarball%.tar}.new.tar" - >&2
    mv "${tarball%.tar}.new.tar" "$tarball"
fi
echo "$tarball"
