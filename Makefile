# Thin wrapper over the CMake presets: `make demo` and `make test` are the two
# commands a newcomer needs.
.PHONY: all build test demo clean

all: build

build:
	cmake --preset default
	cmake --build --preset default

test: build
	ctest --preset default -j2

demo: build
	@sh examples/demo.sh build/default

clean:
	rm -rf build
