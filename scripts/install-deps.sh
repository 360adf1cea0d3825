#!/usr/bin/env bash
# The one list of Debian packages this project needs to build, run and test.
# Installs whatever is missing; as root directly, otherwise through sudo.
# On a system without apt-get it prints what to install and stops.
set -euo pipefail

packages=(
  # toolchain
  g++ make cmake ninja-build pkg-config
  # clang for the libFuzzer target (the fuzzer runtime is in libclang-rt), and
  # LLVM's libc++ for the portability build
  clang libclang-rt-dev clang-format libc++-dev libc++abi-dev
  # Windows: the mingw-w64 cross compiler, wine to run its tests, and the locale
  # data the command-line tests build their code-page locales from
  g++-mingw-w64-x86-64-posix wine wine64 locales
  # the Windows window's icon is packed from the PNGs by icotool, and the
  # portable build is a zip, which its test reads back
  icoutils zip unzip
  # the number reader (header-only)
  libfast-float-dev
  # test and benchmark libraries
  libgtest-dev libgmock-dev libbenchmark-dev googletest
  # the window: Qt 6 Widgets, its platform plugins (xcb, offscreen)
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
  # the window on Wayland, and a headless compositor for its smoke test and benchmark;
  # libwayland's client library asks the compositor whether it draws title bars
  qt6-wayland weston libwayland-dev
  # Japanese Gothic faces metrically matching the original's
  fonts-ipafont-gothic fontconfig
  # a real X server for the smoke test, screenshots and start-up benchmark;
  # xdotool gives the focus to another window and back, as a player's game
  # takes it, in the page's engine tests
  xvfb xauth x11-utils imagemagick xdotool
  # .desktop entry validation
  desktop-file-utils
  # manacalc-cli's manual page is made from its --help
  help2man
  # the command line's messages in the player's language: gettext's tools extract
  # and check the .po files, po4a translates the window's manual page
  gettext po4a
  # the Debian package: dependencies found by dpkg-shlibdeps (which CPack finds
  # the programs for with file), then checked by lintian, appstreamcli and man
  dpkg-dev file lintian appstream man-db
  # the start-up benchmark watches the X server for the window being mapped,
  # and counts the instructions of a start
  libxcb1-dev valgrind
  # the accessibility test reads the window over AT-SPI on a session bus of its own
  dbus-daemon at-spi2-core python3-pyatspi
  # the screen-reader session: Orca, speaking through speech-dispatcher and
  # espeak-ng (into ALSA's null device), under a small window manager
  orca speech-dispatcher speech-dispatcher-espeak-ng matchbox-window-manager
  # the page: the WebAssembly toolchain (with its prebuilt system libraries and
  # a Node.js), the installed page's icons drawn from the window's, and the
  # browsers its tests drive: Chromium, Firefox (over WebDriver BiDi) and
  # WebKitGTK's MiniBrowser through its WebDriver, the last two on Xvfb
  emscripten librsvg2-bin chromium firefox-esr webkit2gtk-driver
  # make pictures: the chart drawn from --batch, and the PNGs squeezed before
  # they are committed (keys go into the windows on Xvfb by xdotool, above)
  gnuplot-nox optipng
  # scripts/in-debian.sh: clean roots of other Debian releases
  debootstrap
)
# npm: part of NodeSource's nodejs where that is installed (it conflicts with
# Debian's npm package), a package of its own beside Debian's nodejs.
if ! command -v npm >/dev/null 2>&1; then
  packages+=(npm)
fi

missing=()
for p in "${packages[@]}"; do
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
