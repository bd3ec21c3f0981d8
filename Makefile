# Thin wrapper over the CMake presets: `make demo` and `make test` are the two
# commands a newcomer needs.
.PHONY: all build test demo clean sanitize fuzz package

# Checks for the Debian packages of the groups named after it
# (tools/debian_packages.txt) and installs the missing ones, or stops with
# the command that does.
NEED = @sh tools/need_packages.sh

all: build

build:
	$(NEED) build
	cmake --preset default
	cmake --build --preset default

# Ends, when a test was skipped, with one line per skipped test and its reason.
test: build
	@status=0; ctest --preset default -j2 || status=$$?; \
	  sh tests/report_skips.sh build/default; exit $$status

# Every test again, on a clang build with AddressSanitizer and
# UndefinedBehaviorSanitizer: any report fails the run. The browser test is
# left out: it times the watching gallery against a second, which a
# sanitized build on a busy machine need not meet, and it ran in make test.
sanitize:
	$(NEED) build sanitize
	cmake --preset sanitize
	cmake --build --preset sanitize -j2
	ctest --preset sanitize -j2 -E '^browser[.]'

# Runs each libFuzzer target for FUZZ_SECONDS from its seed corpus (see
# fuzz/run_fuzz.sh): a crash, leak, hang or sanitizer report fails.
FUZZ_SECONDS ?= 60
fuzz:
	$(NEED) build sanitize
	cmake --preset fuzz
	cmake --build --preset fuzz -j2
	sh fuzz/run_fuzz.sh build/fuzz $(FUZZ_SECONDS)

demo: build
	@sh examples/demo.sh build/default

# Installs the optimised build (release preset) of every program, the manual
# pages and the documents under PREFIX (bin/, share/man/man1/,
# share/doc/orba-tools/): make install PREFIX=$HOME/.local
PREFIX ?= /usr/local
.PHONY: install
install:
	$(NEED) build
	cmake --preset release
	cmake --build --preset release -j2
	cmake --install build/release --prefix $(PREFIX)

# The Debian package of the optimised build:
# build/package/orba-tools_<version>_<arch>.deb (needs dpkg-dev).
package:
	$(NEED) build package
	cmake --preset release
	cmake --build --preset release -j2
	rm -rf build/package
	cd build/release && cpack -G DEB -B $(CURDIR)/build/package

# Times both programs on generated batches (10,000 to 999,999 body records)
# and templates (16 KB, 10 MB) beside dd and cat, and the watching gallery
# after a save of the example shop, on a Release build, then
# runs the micro-benchmarks when Google Benchmark is installed. Not part of
# make test. BENCH_RUNS sets the runs per row (medians are shown).
.PHONY: bench
bench:
	$(NEED) build bench
	cmake --preset release
	cmake --build --preset release -j2 --target batchcheck batchcheck-describe batchcheck-make pagesim pagesim-gallery \
	  gen_request
	bash utils/bench/run_bench.sh build/release
	@if [ -n "$$(cmake --build --preset release --target help | grep '^micro_bench:')" ]; then \
	  cmake --build --preset release -j2 --target micro_bench && build/release/bin/micro_bench; \
	else echo "Google Benchmark not found: no micro-benchmarks"; fi

clean:
	rm -rf build

# Windows: every program cross-built with MinGW-w64, linked statically, and
# packed with README.txt, the manual pages rendered as HTML and the examples
# into build/windows/<name>-<version>-windows-x86_64.zip, and the installer
# build/windows/<name>-<version>-windows-x86_64.msi.
.PHONY: windows test-windows
windows:
	$(NEED) build windows
	cmake -S . -B build/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	cmake --build build/windows -j2
	cmake --build build/windows --target windows_package

# The end-to-end cases against the Windows executables, under Wine, and the
# watching gallery through a save and Ctrl-C; the .msi installed, upgraded
# and uninstalled there.
WINE ?= $(shell command -v wine64 || echo /usr/lib/wine/wine64)
test-windows: windows
	cmake -S . -B build/windows-e2e -G Ninja -DCMAKE_BUILD_TYPE=Debug -DE2E_WINDOWS=ON \
	  -DE2E_LAUNCHER=$(WINE) -DE2E_BATCHCHECK=$(CURDIR)/build/windows/bin/batchcheck.exe \
	  -DE2E_PAGESIM=$(CURDIR)/build/windows/bin/pagesim.exe \
	  -DE2E_DESCRIBE=$(CURDIR)/build/windows/bin/batchcheck-describe.exe \
	  -DE2E_MAKE=$(CURDIR)/build/windows/bin/batchcheck-make.exe \
	  -DE2E_GALLERY=$(CURDIR)/build/windows/bin/pagesim-gallery.exe \
	  -DE2E_WINDOWS_BUILD=$(CURDIR)/build/windows
	cmake --build build/windows-e2e -j2 --target e2e_runner
	ctest --test-dir build/windows-e2e -L 'e2e|installer' -j2 --output-on-failure
