# Entry points. Every target installs what is missing first (scripts/bootstrap.sh).
.PHONY: all bootstrap build demo dll test fuzz clean install-inkscape

all: build

bootstrap:
	@bash scripts/bootstrap.sh

build: bootstrap
	cmake --preset release
	cmake --build --preset release

# The main job: the filter on the built-in mosaic, written to ./pelvaro-demo.
demo: build
	build/release/bin/pelvaro demo -o pelvaro-demo

# The Inkscape extension, with the tool and the plug-in module it runs, into
# the user's extension folder: Extensions > tovi plug-ins > Pelvaro.
INKSCAPE_EXTENSIONS ?= $(HOME)/.config/inkscape/extensions
install-inkscape: build
	mkdir -p $(INKSCAPE_EXTENSIONS)/pelvaro
	install -m 644 inkscape/pelvaro.inx $(INKSCAPE_EXTENSIONS)/pelvaro.inx
	install -m 755 inkscape/pelvaro_inkscape.py $(INKSCAPE_EXTENSIONS)/pelvaro_inkscape.py
	install -m 755 build/release/bin/pelvaro $(INKSCAPE_EXTENSIONS)/pelvaro/pelvaro
	install -m 644 build/release/bin/Pelvaro.aip $(INKSCAPE_EXTENSIONS)/pelvaro/Pelvaro.aip

# The shipped plug-in: the 32-bit Windows DLL, built with mingw-w64 into dist/.
dll: bootstrap
	cmake --preset win32
	cmake --build --preset win32
	cmake -E copy_if_different build/win32/bin/Pelvaro.aip dist/Pelvaro.aip

# Every test: native release and sanitized debug suites (with the structural
# check of dist/Pelvaro.aip), the Win64 build under wine64, the static 32-bit
# x86 build under qemu, and one fixed CLI run that must give the same bits in
# all three.
test: dll
	cmake --preset release
	cmake --build --preset release
	ctest --preset release
	cmake --preset debug
	cmake --build --preset debug
	ctest --preset debug
	cmake --preset win64
	cmake --build --preset win64
	ctest --preset win64
	cmake --preset linux32
	cmake --build --preset linux32
	ctest --preset linux32
	/usr/bin/python3 tests/samebits/compare_builds.py . build/samebits

# The libFuzzer targets of the readers (preset fuzz, clang), each run for
# FUZZ_SECONDS; corpora grow in build/fuzz/corpus, faults land in build/fuzz/findings.
FUZZ_SECONDS ?= 300
fuzz: bootstrap
	cmake --preset fuzz
	cmake --build --preset fuzz
	scripts/run-fuzzers.sh build/fuzz $(FUZZ_SECONDS)

clean:
	rm -rf build dist pelvaro-demo
