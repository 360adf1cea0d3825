# Front door for newcomers and CI. Every target first makes sure the Debian
# packages are there (scripts/install-deps.sh is the one list of them).

FUZZ_SECONDS ?= 60

.PHONY: all deps build run test test-release test-asan fuzz bench deb format clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	cmake --preset release
	cmake --build --preset release

run: build
	build/release/app/manacalc

test: test-release test-asan

test-release: build
	ctest --preset release

test-asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

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
