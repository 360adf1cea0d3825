# What the scripts share, each said once: `. scripts/lib.sh` from the top of the
# checkout, then call a function.

# The release's version, from CMakeLists.txt's project().
project_version() { sed -n 's/^project(manacalc VERSION \([^ )]*\).*/\1/p' CMakeLists.txt; }

# The folder of the source package scripts/source-package.sh makes, and its .dsc,
# the one file there named after the Debian revision too.
source_package_dir() { echo build/source-package; }
source_package_dsc() {
    local dsc=("$(source_package_dir)"/manacalc_*.dsc)
    [ -f "${dsc[0]}" ] || { echo "${0##*/}: no source package; run scripts/source-package.sh" >&2; return 1; }
    echo "${dsc[0]}"
}
