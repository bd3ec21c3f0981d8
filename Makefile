# Thin wrapper over the CMake presets: `make demo` and `make test` are the two
# commands a newcomer needs.
.PHONY: all build test demo clean sanitize

all: build

build:
	cmake --preset default
	cmake --build --preset default

test: build
	ctest --preset default -j2

# Every test again, on a clang build with AddressSanitizer and
# UndefinedBehaviorSanitizer: any report fails the run.
sanitize:
	cmake --preset sanitize
	cmake --build --preset sanitize -j2
	ctest --preset sanitize -j2

demo: build
	@sh examples/demo.sh build/default

# Installs both programs and their manual pages under PREFIX (bin/ and
# share/man/man1/): make install PREFIX=$HOME/.local
PREFIX ?= /usr/local
.PHONY: install
install: build
	cmake --install build/default --prefix $(PREFIX)

clean:
	rm -rf build
