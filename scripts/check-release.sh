#!/usr/bin/env bash
# Builds the release files twice and compares their SHA256SUMS: here, reusing the
# builds this folder already holds, and later from a fresh clone of the same commit
# in another folder under the other umask (002 or 022), from scratch. On a
# difference it names the files that differ and keeps the other build's copies in
# build/release-files-other/ for diffoscope.
# usage: scripts/check-release.sh
set -euo pipefail
cd "$(dirname "$0")/.."
start=$SECONDS

scripts/release.sh >/dev/null
here=$((SECONDS - start))

other=$(mktemp -d /tmp/manacalc-release-XXXXXX)
trap 'rm -rf "$other"' EXIT
commit=$(git rev-parse HEAD)
[ "$(umask)" = 0002 ] && other_umask=0022 || other_umask=0002
(
    umask "$other_umask"
    git clone -q --no-checkout --no-hardlinks . "$other/manacalc"
    cd "$other/manacalc"
    git checkout -q "$commit"
    scripts/release.sh >/dev/null
)

sums=build/release-files/SHA256SUMS
other_sums=$other/manacalc/$sums
echo "check-release: here in $here s, in $other with umask $other_umask in $((SECONDS - start - here)) s"
if cmp -s "$sums" "$other_sums"; then
    cat "$sums"
    echo "check-release: both builds gave the same files"
    exit 0
fi
rm -rf build/release-files-other
cp -r "$other/manacalc/build/release-files" build/release-files-other
while read -r sum name; do
    [ "$(awk -v name="$name" '$2 == name { print $1 }' "$other_sums")" = "$sum" ] ||
        echo "check-release: $name differs:" \
            "diffoscope build/release-files/$name build/release-files-other/$name" >&2
done <"$sums"
diff "$sums" "$other_sums" >&2 || true
exit 1
