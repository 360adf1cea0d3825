#!/usr/bin/env bash
# The zip's readmes name the version they come with, in Windows line ends; the
# Japanese one is UTF-8 with a byte-order mark, which Notepad on every Windows
# in use reads as such.
# usage: zip_test.sh ZIP VERSION
set -u
zip=$1
version=$2
failures=0
for row in "README.txt:manacalc $version for 64-bit Windows" \
    "README.ja.txt:"$'\xef\xbb\xbf'"manacalc $version (64 ビット Windows 版)"; do
    first=$(unzip -p "$zip" "$(basename "$zip" .zip)/${row%%:*}" | head -1)
    if [ "$first" != "${row#*:}"$'\r' ]; then
        echo "FAIL ${row%%:*} starts $(printf '%q' "$first")"
        failures=$((failures + 1))
    fi
done
[ $failures -eq 0 ]
