#!/usr/bin/env bash
# The date every build command gives its files (cmake/source_date.cmake): a
# given SOURCE_DATE_EPOCH, else the commit's time (a source tarball's files carry
# it); an empty one counts as none, as clang 19 and emcc would refuse it.
# usage: source_date_test.sh SOURCE_DIR
set -euo pipefail
dir=$1
date_with() { env "$@" cmake -DSOURCE_DIR="$dir" -P "$dir/cmake/source_date.cmake"; }
commit=$(git -C "$dir" log -1 --format=%ct 2>/dev/null || stat -c %Y "$dir/CMakeLists.txt")
failures=0
for row in "given|SOURCE_DATE_EPOCH=86400|86400" "empty|SOURCE_DATE_EPOCH=|$commit" \
           "unset|-u SOURCE_DATE_EPOCH|$commit"; do
    IFS='|' read -r name setting want <<<"$row"
    # shellcheck disable=SC2086 # the setting is env's arguments
    got=$(date_with $setting)
    [ "$got" = "$want" ] || { echo "FAIL: $name: got '$got', want '$want'"; failures=$((failures + 1)); }
done
[ $failures -eq 0 ]
