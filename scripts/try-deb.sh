#!/usr/bin/env bash
# What a player does with the package on a fresh Debian: installs it with apt-get,
# has `locales` make ja_JP.UTF-8, then computes with manacalc-cli and reads its
# Japanese manual page. It changes the system it runs on: CI runs it in a clean
# root of another release, scripts/in-debian.sh --copy DEB trixie scripts/try-deb.sh DEB.
# usage: scripts/try-deb.sh DEB
set -euo pipefail
deb=$(realpath "$1")
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "$deb" locales man-db >/dev/null
sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
locale-gen >/dev/null

failures=0
fail() { echo "try-deb: FAIL: $*" >&2; failures=$((failures + 1)); }
results=$(manacalc-cli 100 99.5 0)
echo "$results"
[ "$results" = "$(printf '%s\t%s\n' 回復値 12 '1mana sec' 0.833333333333333 FPoint 219.175 \
    'Next FPoint' 220 'Next INT' 2 'Next Medi' 0.5 'Next Focus' 20)" ] || fail "manacalc-cli 100 99.5 0"
page=$(LANG=ja_JP.UTF-8 MANWIDTH=80 man -L ja manacalc-cli)
echo "$page" | head -5
[[ "$page" == *"マナ回復速度をスクリプトや端末で計算する"* ]] || fail "man -L ja manacalc-cli"
[[ "$(LANG=ja_JP.UTF-8 manacalc-cli --recovery 0 2>&1)" == *丸めると* ]] ||
    fail "manacalc-cli's messages in Japanese"
echo "try-deb: $(dpkg-query -W -f='${Package} ${Version}' manacalc) on $(. /etc/os-release && echo "$PRETTY_NAME")"
[ $failures -eq 0 ]
