#!/usr/bin/env bash
# Runs a command in a fresh clone of HEAD inside a clean root of another Debian
# release, as a new contributor on that release would: for example
#   scripts/in-debian.sh trixie make test
#   scripts/in-debian.sh trixie env MANACALC_WERROR=ON make test
# Only committed work is cloned. With DISPLAY set, the root's programs draw on
# this machine's X server. As root.
#
# The root is made once (scripts/package-root.sh RELEASE minbase) and never
# changed: every run unpacks it afresh and deletes it afterwards. The packages apt
# fetched in the runs stay beside it in /var/cache/manacalc-roots, for the runs
# after them.
# usage: scripts/in-debian.sh RELEASE COMMAND...
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -ge 2 ] || { echo "usage: $0 RELEASE COMMAND..." >&2; exit 2; }
release=$1
shift
tarball=$(scripts/package-root.sh "$release" minbase)
cache=${tarball%/*}
archives=$cache/$release-archives

# The mount points at or below $1, the deepest first.
mounts_in() {
    awk -v dir="$1" '$5 == dir || index($5, dir "/") == 1 { print $5 }' /proc/self/mountinfo |
        sort -r
}

# Deletes a folder only once nothing is mounted in it, so that a bind mount of
# the host's /dev can never be emptied.
remove() {
    if [ -n "$(mounts_in "$1")" ]; then
        echo "in-debian: $1 still has mounts; left in place" >&2
        return 1
    fi
    rm -rf "$1"
}

work=$(mktemp -d "$cache/run.XXXXXX")
root=$work/root
# The processes whose root is this run's.
processes_in_root() {
    local p
    for p in /proc/[0-9]*; do
        [ "$(readlink "$p/root" 2>/dev/null)" != "$root" ] || echo "${p#/proc/}"
    done
}
cleanup() {
    # What the command left running (a persistent wineserver, a bus) would hold
    # the mounts busy, and was started by this run: ended, and waited for.
    local tries=50
    processes_in_root | xargs -r kill -9 2>/dev/null || true
    while [ -n "$(processes_in_root)" ] && [ $((tries -= 1)) -gt 0 ]; do sleep 0.1; done
    mounts_in "$root" | xargs -r -n 1 umount || true
    # The packages this run fetched, for the runs after it.
    find "$root/var/cache/apt/archives" -maxdepth 1 -name '*.deb' -exec cp -ln -t "$archives" {} + 2>/dev/null ||
        true
    remove "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

mkdir -p "$archives" "$root"
tar -xf "$tarball" -C "$root"
mount -t proc proc "$root/proc"
for dir in /sys /dev /dev/pts /dev/shm; do
    mount --bind "$dir" "$root$dir"
done
if [ -n "${DISPLAY:-}" ]; then
    mkdir -p "$root/tmp/.X11-unix"
    mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
fi
# The packages earlier runs fetched, linked rather than copied: each run has
# a cache of its own, so that two can install at once.
find "$archives" -maxdepth 1 -name '*.deb' -exec cp -ln -t "$root/var/cache/apt/archives" {} +
cp /etc/resolv.conf "$root/etc/"
# A root thrown away after the run needs no fsync after every file dpkg unpacks,
# which took most of the time installing a thousand packages.
echo force-unsafe-io >"$root/etc/dpkg/dpkg.cfg.d/in-debian"
# The root trusts what its host trusts: a proxy's own authority among them.
[ ! -d /usr/local/share/ca-certificates ] ||
    cp -r /usr/local/share/ca-certificates/. "$root/usr/local/share/ca-certificates/"
chroot "$root" update-ca-certificates >/dev/null 2>&1

git clone -q --no-checkout . "$root/root/manacalc"
git -C "$root/root/manacalc" checkout -q "$(git rev-parse HEAD)"

echo "in-debian: $release: $*"
# Waited for in the background, so that a signal cleans up at once rather than
# after the command ends.
chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    ${DISPLAY:+DISPLAY="$DISPLAY"} \
    sh -c 'cd /root/manacalc && exec "$@"' in-debian "$@" <&0 &
wait $!
