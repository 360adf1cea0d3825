#!/usr/bin/env bash
# Prints the apt sources ("deb URI SUITE main" lines) of a clean root of another
# Debian release: the host's release, its updates and security suites, each from
# where the host takes them, renamed for the other release. Unstable has neither
# updates nor security suites: its line alone.
# usage: scripts/debian-sources.sh RELEASE
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 RELEASE" >&2; exit 2; }
release=$1

# "URI SUITE" for every deb source of the host, from both formats apt reads.
host_sources() {
    shopt -s nullglob
    local one_line=(/etc/apt/sources.list /etc/apt/sources.list.d/*.list)
    local deb822=(/etc/apt/sources.list.d/*.sources)
    [ -f "${one_line[0]}" ] || one_line=("${one_line[@]:1}")
    [ ${#one_line[@]} -eq 0 ] || awk '$1 == "deb" {
            sub(/^deb[ \t]+(\[[^]]*\][ \t]+)?/, ""); print $1, $2 }' "${one_line[@]}"
    [ ${#deb822[@]} -eq 0 ] || awk 'BEGIN { RS = ""; FS = "\n" } {
            types = uri = suites = ""
            for (i = 1; i <= NF; i++) {
                if ($i ~ /^Types:/) types = " " substr($i, 7) " "
                if ($i ~ /^URIs:/) { split(substr($i, 6), u, " "); uri = u[1] }
                if ($i ~ /^Suites:/) suites = substr($i, 8)
            }
            if (types ~ /[ \t]deb[ \t]/) {
                n = split(suites, s, " ")
                for (j = 1; j <= n; j++) print uri, s[j]
            }
        }' "${deb822[@]}"
}

host=$(. /etc/os-release && echo "$VERSION_CODENAME")
sources=$(host_sources | awk -v host="$host" -v release="$release" '
    index($2, host) == 1 && ($2 == host || substr($2, length(host) + 1, 1) == "-") {
        suite = release substr($2, length(host) + 1)
        if (release != "unstable" && release != "sid" || suite == release)
            print "deb " $1 " " suite " main" }' | sort -u)
echo "$sources" | awk -v release="$release" '$3 == release { found = 1 } END { exit !found }' || {
    echo "debian-sources: no source for $host in the host's apt sources" >&2
    exit 1
}
echo "$sources"
