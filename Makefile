# Front door for newcomers and CI. Every target first makes sure the Debian
# packages are there: make run only the window's, the others every one
# (scripts/install-deps.sh, with debian/control).

FUZZ_SECONDS ?= 60
WEB_PORT ?= 8000
# npm takes the system's certificates beside its own: where the registry is
# reached through a proxy, its authority is often only in the system's store.
SYSTEM_CA := /etc/ssl/certs/ca-certificates.crt
NPM := $(if $(wildcard $(SYSTEM_CA)),NODE_EXTRA_CA_CERTS=$(SYSTEM_CA)) \
	PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm

.PHONY: all deps build run test test-release test-asan test-libcxx windows test-windows \
        run-windows bench-windows web web-build test-web bench-web fuzz bench source-package \
        deb check-package release check-release pictures format clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	cmake --preset release
	cmake --build --preset release

# The window alone, built without its tests, so that it needs only its own
# packages: a player who wants it on the desktop gets no test tools with it.
run:
	@scripts/install-deps.sh window
	cmake --preset window
	cmake --build --preset window --target manacalc
	build/window/app/manacalc

test: test-release test-asan test-libcxx test-windows test-web

test-release: build
	ctest --preset release

test-asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

# The core and the command-line companion on LLVM's libc++, so that they stay
# free of what only libstdc++ provides.
test-libcxx: deps
	cmake --preset libcxx
	cmake --build --preset libcxx
	ctest --preset libcxx

# For 64-bit Windows, cross-built with mingw-w64: manacalc.exe (the window on the
# Windows API), manacalc-cli.exe, their tests, and the portable
# build/windows/manacalc-<version>-win64.zip.
windows: deps
	cmake --preset windows
	cmake --build --preset windows

# The window under wine on this desktop, in a wine prefix of the build's own.
run-windows: windows
	bash -c '. scripts/lib.sh && wine_prefix x11 && exec wine build/windows/app/windows/manacalc.exe'

# manacalc.exe's start-up, memory and size under wine on Xvfb, beside a bare
# Windows API window; screenshots at 100 % and 150 % in build/windows/shots.
bench-windows: build windows
	bench/startup_windows.sh

# Those tests under wine, and the --batch answers byte for byte against Linux's.
test-windows: windows
	cmake --preset release
	cmake --build --preset release --target manacalc-cli
	scripts/wine-test.sh build/release/cli/manacalc-cli

# The page: build/web/index.html, one file that also works opened from disk.
web-build: deps
	cmake --preset web
	cmake --build --preset web

web: web-build
	@echo "manacalc page: http://127.0.0.1:$(WEB_PORT)/index.html (Ctrl-C stops the server)"
	python3 -m http.server $(WEB_PORT) --bind 127.0.0.1 --directory build/web

# The core's tests as WebAssembly under node (printf's digits, emscripten's
# libc++), the page in Debian's Chromium, Firefox and WebKitGTK, and its module
# against the native --batch. npm ci takes the pinned drivers, which bring no
# browser.
test-web: build web-build
	ctest --preset web
	cd web && $(NPM) ci --no-audit --no-fund
	node --test web/tests/

bench-web: web-build
	cd web && $(NPM) ci --no-audit --no-fund
	node web/bench/page_timing.mjs

fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz
	scripts/run-fuzz.sh $(FUZZ_SECONDS)

bench: build
	build/release/bench/recalculation_bench
	bench/batch_throughput.sh build/release/cli/manacalc-cli
	bench/startup.sh build/release

# The Debian source package in build/source-package: the .dsc, the orig tarball
# (the release's source) and the Debian tarball.
source-package: deps
	scripts/source-package.sh

# The binary package built from it as Debian builds it, by sbuild in a clean
# Debian 12 root (so that it installs on 12 and 13), its tests run, judged by
# lintian and blhc: build/package/bookworm/manacalc_<version>-1_amd64.deb.
deb: source-package
	scripts/sbuild.sh bookworm

# The package built in clean Debian 12, 13 and unstable roots, then its
# autopkgtests run against it installed in clean 13 and unstable roots.
check-package: source-package
	scripts/check-package.sh

# The READMEs' pictures in doc/, made from the build: run it when the window, the
# page or the calculation changes, and look at them before committing. Not part
# of make test.
pictures: build windows web-build
	cd web && $(NPM) ci --no-audit --no-fund
	scripts/pictures.sh

# Every download in build/release-files/ with SHA256SUMS: the same bytes from any
# build of one commit.
release: deps
	scripts/release.sh

# The release built twice, here and in a fresh clone elsewhere, compared.
check-release: deps
	scripts/check-release.sh

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
