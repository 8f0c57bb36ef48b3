# Entry points. Every target installs what is missing first (scripts/bootstrap.sh).
.PHONY: all bootstrap build demo test clean

all: build

bootstrap:
	@bash scripts/bootstrap.sh

build: bootstrap
	cmake --preset release
	cmake --build --preset release

# The main job: the filter on the built-in mosaic, written to ./pelvaro-demo.
demo: build
	build/release/bin/pelvaro demo -o pelvaro-demo

# Every test: native release and sanitized debug suites.
test: bootstrap
	cmake --preset release
	cmake --build --preset release
	ctest --preset release
	cmake --preset debug
	cmake --build --preset debug
	ctest --preset debug

clean:
	rm -rf build dist pelvaro-demo
