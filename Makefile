# Thin wrapper over the CMake presets. `make run` and `make test` are all a newcomer needs.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps deps-build build run test test-default test-asan fuzz fuzz-long bench clean

all: build

deps-build:
	@scripts/install-deps.sh build

deps:
	@scripts/install-deps.sh all

build: deps-build
	cmake --preset default >/dev/null
	cmake --build --preset default -j $(JOBS)

# Starts the program with the simulated amplifier. For a real amplifier run
# build/default/src/app/karvo-pc without --simulate.
run: build
	build/default/src/app/karvo-pc --simulate

test-default: deps
	cmake --preset default >/dev/null
	cmake --build --preset default -j $(JOBS)
	ctest --preset default -j $(JOBS)

test-asan: deps
	cmake --preset asan >/dev/null
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

# Every test: the normal build, the sanitizer build and the short fuzz runs.
test: test-default test-asan
	@if [ -f fuzz/CMakeLists.txt ]; then $(MAKE) --no-print-directory fuzz; fi

fuzz: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)
	scripts/run-fuzzers.sh $${FUZZ_SECONDS:-20}

fuzz-long:
	$(MAKE) fuzz FUZZ_SECONDS=600

bench: deps
	cmake --preset bench >/dev/null
	cmake --build --preset bench -j $(JOBS)

clean:
	rm -rf build
