# Everyday commands. Each installs what is missing, then configures and builds as needed.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CHART := build/default/solvane-chart

.PHONY: all deps build build-asan run test test-default test-asan bench screenshots package fuzz format clean

all: build

deps:
	@scripts/install-deps

build: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default -j $(JOBS)

build-asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j $(JOBS)

# The desktop program when there is a display and it has been built; otherwise the chart of the
# built-in sample birth on the terminal.
run: build
	@if [ -x build/default/solvane ] && [ -n "$${DISPLAY}$${WAYLAND_DISPLAY}" ]; then \
	  build/default/solvane; \
	else \
	  $(CHART) --sample; \
	fi

test: test-default test-asan

test-default: build
	@ctest --preset default -j $(JOBS)

test-asan: build-asan
	@ctest --preset asan -j $(JOBS)

bench: build
	@scripts/bench

# The README's pictures of the windows, at 100% and 200% scaling.
screenshots: build
	@QT_QPA_PLATFORM=offscreen build/default/solvane_screenshots docs ""
	@QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 build/default/solvane_screenshots docs "@2x"

# A Debian package of both programs: build/default/solvane_<version>_<arch>.deb
package: build
	@cd build/default && cpack -G DEB

# libFuzzer over every input path, with ASan and UBSan. FUZZ_SECONDS per target (60),
# FUZZ_TARGETS, FUZZ_RUNS; FUZZ_MERGE=1 keeps new inputs in tests/fuzz/corpus.
fuzz:
	@SOLVANE_WITH_FUZZ=1 scripts/install-deps
	@scripts/fuzz

format:
	@clang-format -i $$(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp')

clean:
	rm -rf build
