# Front door for newcomers and CI. Every target first makes sure the Debian
# packages are there (scripts/install-deps.sh is the one list of them).

FUZZ_SECONDS ?= 60

.PHONY: all deps build run test test-release test-asan test-libcxx windows test-windows fuzz bench \
        deb format clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	cmake --preset release
	cmake --build --preset release

run: build
	build/release/app/manacalc

test: test-release test-asan test-libcxx test-windows

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

# manacalc-cli.exe and the core's tests for 64-bit Windows, cross-built with mingw-w64.
windows: deps
	cmake --preset windows
	cmake --build --preset windows

# Those tests under wine, and the --batch answers byte for byte against Linux's.
test-windows: windows
	cmake --preset release
	cmake --build --preset release --target manacalc-cli
	scripts/wine-test.sh build/release/cli/manacalc-cli

fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz
	scripts/run-fuzz.sh $(FUZZ_SECONDS)

bench: build
	build/release/bench/recalculation_bench
	bench/batch_throughput.sh build/release/cli/manacalc-cli
	bench/startup.sh build/release

deb: deps
	scripts/check-deb.sh

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
