#!/usr/bin/env bash
# The Debian package as Debian judges it: built by sbuild from the source package
# in clean Debian 12, 13 and unstable roots, each with blhc, unstable's with its
# tests (make test runs 12's and 13's, with the same compilers) and lintian
# (scripts/sbuild.sh); then the autopkgtests against it installed
# (scripts/autopkgtest.sh): in Debian 13 the package built on 12, the release's,
# which a Debian 13 player installs, and in unstable unstable's own.
# Three lanes at once: much of each is fetching and unpacking packages.
# usage: scripts/check-package.sh   (after scripts/source-package.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
start=$SECONDS
logs=build/check-package
rm -rf "$logs"
mkdir -p "$logs"
# The roots first, each once (the first puts root's id range first), then two at once.
scripts/package-root.sh bookworm >/dev/null
scripts/package-root.sh trixie >/dev/null & roots=$!
scripts/package-root.sh unstable >/dev/null
wait $roots

lane() {
    local name=$1
    shift
    local from=$SECONDS status=0
    while [ $# -gt 0 ]; do
        local step=()
        while [ $# -gt 0 ] && [ "$1" != then ]; do step+=("$1"); shift; done
        [ $# -eq 0 ] || shift
        "${step[@]}" >>"$logs/$name.log" 2>&1 || { status=$?; break; }
    done
    echo "check-package: $name: $([ $status -eq 0 ] && echo passed || echo FAILED) in $((SECONDS - from)) s"
    return $status
}
lane 12 scripts/sbuild.sh bookworm --nocheck then scripts/autopkgtest.sh trixie bookworm &
pids=($!)
lane unstable scripts/sbuild.sh unstable then scripts/autopkgtest.sh unstable &
pids+=($!)
lane 13 scripts/sbuild.sh trixie --nocheck &
pids+=($!)
failures=0
for pid in "${pids[@]}"; do wait "$pid" || failures=$((failures + 1)); done

for log in "$logs"/*.log; do
    grep -hE '^(sbuild|autopkgtest): |^[a-z-]+ +(PASS|FAIL|SKIP)' "$log" || true
done
echo "check-package: unstable's lintian --pedantic --display-info --show-overrides:"
sed 's/^/  /' build/package/unstable/lintian.txt 2>/dev/null || true
if [ $failures -ne 0 ]; then
    for log in "$logs"/*.log; do
        echo "== $log (the end)" >&2
        tail -n 40 "$log" >&2
    done
fi
echo "check-package: $((SECONDS - start)) s"
[ $failures -eq 0 ]
