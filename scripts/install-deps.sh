#!/usr/bin/env bash
# Installs the Debian packages this project needs, whatever of them is missing;
# as root directly, otherwise through sudo. On a system without apt-get it prints
# what to install and stops.
#   scripts/install-deps.sh window   what the window needs to build and start:
#                                     make and a compiler, the source package's
#                                     build dependencies without its tests', and
#                                     what the package depends on and recommends
#   scripts/install-deps.sh          everything, to build and test it all
# debian/control names the packages of the window's build and of the tests that
# run in a package build; this list names the rest, each package once.
set -euo pipefail
cd "$(dirname "$0")/.."
scope=${1:-all}
case $scope in window | all) ;; *) echo "usage: $0 [window]" >&2; exit 2 ;; esac

# debian/control's relations, one package a line: those a build with the given
# build profiles needs (relations FIELD PROFILES), or those it leaves out
# (relations FIELD PROFILES left-out). Of alternatives the first, without
# versions or architectures; debhelper-compat is debhelper itself. A binary
# package's relations: relations FIELD "" "" PACKAGE.
relations() {
    awk -v field="$1" -v active=" $2 " -v want="${3:-needed}" -v package="${4:-}" '
        BEGIN { RS = ""; FS = "\n" }
        # <!a b> <c>: needed where every term of some group holds
        function needed(item,    rest, group, terms, n, i, holds, term) {
            rest = item
            if (!match(rest, /<[^>]*>/)) return 1
            while (match(rest, /<[^>]*>/)) {
                group = substr(rest, RSTART + 1, RLENGTH - 2)
                rest = substr(rest, RSTART + RLENGTH)
                n = split(group, terms, " ")
                holds = 1
                for (i = 1; i <= n; i++) {
                    term = terms[i]
                    if (term ~ /^!/) holds = holds && index(active, " " substr(term, 2) " ") == 0
                    else holds = holds && index(active, " " term " ") > 0
                }
                if (holds) return 1
            }
            return 0
        }
        (package == "" && $1 ~ /^Source:/) || $1 == "Package: " package {
            value = ""; inside = 0
            for (i = 1; i <= NF; i++) {
                if ($i ~ "^" field ":") { inside = 1; value = substr($i, length(field) + 2) }
                else if (inside && $i ~ /^[ \t]/) value = value " " $i
                else inside = 0
            }
            n = split(value, items, ",")
            for (j = 1; j <= n; j++) {
                item = items[j]
                sub(/\|.*/, "", item)
                if (needed(item) != (want == "needed")) continue
                gsub(/\([^)]*\)|\[[^]]*\]|<[^>]*>|\$\{[^}]*\}/, "", item)
                gsub(/[ \t]/, "", item)
                if (item == "debhelper-compat") item = "debhelper"
                if (item != "") print item
            }
        }' debian/control
}

# The window: what its build needs but a package build takes for granted
# (build-essential), its build dependencies as a build without tests or manual
# pages needs them, and what it needs to run.
packages=(g++ make)
for name in $(relations Build-Depends "nocheck nodoc"); do
    [ "$name" = debhelper ] || packages+=("$name")
done
packages+=($(relations Depends "" "" manacalc) $(relations Recommends "" "" manacalc))

if [ "$scope" = all ]; then
    # The rest of a package build's (its tests, its manual pages, debhelper).
    packages+=(debhelper $(relations Build-Depends "nocheck nodoc" left-out))
    packages+=(
      # clang for the libFuzzer target (the fuzzer runtime is in libclang-rt), and
      # LLVM's libc++ for the portability build
      clang libclang-rt-dev clang-format libc++-dev libc++abi-dev
      # Windows: the mingw-w64 cross compiler, wine to run its tests (the
      # command-line tests build their code-page locales with the package
      # build's locales)
      g++-mingw-w64-x86-64-posix wine wine64
      # the Windows window's icon is packed from the PNGs by icotool, and the
      # portable build is a zip, which its test reads back
      icoutils zip unzip
      # the benchmarks; GoogleTest's source, which the libc++, Windows and
      # WebAssembly builds compile with their own compilers
      libbenchmark-dev googletest
      # the Orca session: what a blind player hears, spoken through
      # speech-dispatcher and espeak-ng (into ALSA's null device) under a small
      # window manager; xdotool gives the focus to another window and back, as a
      # player's game takes it, there and in the page's engine tests
      orca speech-dispatcher speech-dispatcher-espeak-ng matchbox-window-manager xdotool
      # the start-up benchmark counts the instructions of a start
      valgrind
      # the page: the WebAssembly toolchain (with its prebuilt system libraries and
      # a Node.js), the installed page's icons drawn from the window's, and the
      # browsers its tests drive: Chromium, Firefox (over WebDriver BiDi) and
      # WebKitGTK's MiniBrowser through its WebDriver, the last two on Xvfb
      emscripten librsvg2-bin chromium firefox-esr webkit2gtk-driver
      # make pictures: the chart drawn from --batch, and the PNGs squeezed before
      # they are committed
      gnuplot-nox optipng
      # the source package (dpkg-source), built by sbuild in clean roots that
      # mmdebstrap makes (scripts/in-debian.sh's too) and unshare enters (uidmap),
      # as Debian builds it; then blhc reads its flags and autopkgtest runs its
      # tests against it installed
      dpkg-dev sbuild mmdebstrap uidmap blhc autopkgtest
    )
    # npm: part of NodeSource's nodejs where that is installed (it conflicts with
    # Debian's npm package), a package of its own beside Debian's nodejs.
    command -v npm >/dev/null 2>&1 || packages+=(npm)
fi

missing=()
declare -A seen=()
for p in "${packages[@]}"; do
    # The package depends on what its tests use too.
    [ -z "${seen[$p]:-}" ] || continue
    seen[$p]=1
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

if ! command -v apt-get >/dev/null 2>&1; then
    echo "install-deps: no apt-get here; install these packages (Debian names): ${missing[*]}" >&2
    exit 1
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
        sudo=(sudo)
    else
        echo "install-deps: not root and no sudo; as root run:" >&2
        echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
        exit 1
    fi
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update
"${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
