#!/usr/bin/env bash
# What a newcomer's `make run` does to a fresh Debian: the packages it installs,
# counted and weighed (megabytes downloaded and on disk), then the window started.
# It changes the system it runs on: scripts/check-make-run.sh runs it in a clean
# root of a release, on an X server of its own.
# usage: scripts/try-make-run.sh
set -euo pipefail
cd "$(dirname "$0")/.."
# Packages installed, and their size on disk in KiB.
installed() {
    dpkg-query -W -f='${db:Status-Abbrev} ${Installed-Size}\n' |
        awk '$1 == "ii" { n++; kib += $2 } END { print n, kib }'
}
read -r packages_before kib_before < <(installed)
scripts/install-deps.sh window | tee /tmp/make-run-install.log
read -r packages_after kib_after < <(installed)
# apt's own figures: "Need to get 12.3 MB/191 MB of archives" (the second is the
# whole, the first what the cache lacked) and "After this operation, 795 MB of
# additional disk space will be used".
download=$(sed -n 's|^Need to get \([^/]*/\)\?\(.*\) of archives\.$|\2|p' /tmp/make-run-install.log)
disk=$(sed -n 's/^After this operation, \(.*\) of additional disk space will be used\.$/\1/p' \
    /tmp/make-run-install.log)
echo "try-make-run: $((packages_after - packages_before)) packages, ${download:-nothing} to download," \
    "${disk:-nothing} on disk ($(((kib_after - kib_before) / 1024)) MiB by dpkg), on" \
    "$(. /etc/os-release && echo "$PRETTY_NAME")"
exec make run
