# Entry points. Every target first installs what it needs, and only that
# (scripts/bootstrap.sh TARGET); the steps are CMake workflow presets.
.PHONY: all build demo dll test bench fuzz clean install-inkscape
# `time` on each build step of `make test`, so a CI log shows what each costs;
# the same-bits summary stays the last line.
SHELL := /bin/bash

all: build

build:
	@bash scripts/bootstrap.sh native
	cmake --preset release
	cmake --build --preset release

# The main job: the filter on the built-in mosaic, written to ./pelvaro-demo.
demo: build
	build/release/bin/pelvaro demo -o pelvaro-demo

# Figures: the hot paths (Google Benchmark, with ratios) and the whole run on
# a mosaic of a million anchors. CPU time and medians of repeated runs, so a
# busy machine skews less.
bench: build
	build/release/bin/pelvaro_bench --benchmark_counters_tabular=true \
	  --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
	build/release/bin/pelvaro_run_bench --anchors 1000000

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
dll:
	@bash scripts/bootstrap.sh dll
	cmake --workflow --preset dll

# Every test: native release and sanitized debug suites (with the structural
# check of dist/Pelvaro.aip), the Win64 build under wine64, the static 32-bit
# x86 build under qemu, the shipped DLL itself under 32-bit Wine, and one fixed
# CLI run that must give the same bits in all four. Whatever reads
# dist/Pelvaro.aip builds it first, in the same run.
test:
	@bash scripts/bootstrap.sh test
	time cmake --workflow --preset release
	time cmake --workflow --preset debug
	time cmake --workflow --preset win64
	time cmake --workflow --preset linux32
	time cmake --workflow --preset wine32
	/usr/bin/python3 tests/samebits/compare_builds.py . build/samebits

# The libFuzzer targets of the readers (preset fuzz, clang), each run for
# FUZZ_SECONDS; corpora grow in build/fuzz/corpus, faults land in build/fuzz/findings.
FUZZ_SECONDS ?= 300
fuzz:
	@bash scripts/bootstrap.sh native fuzz
	cmake --preset fuzz
	cmake --build --preset fuzz
	scripts/run-fuzzers.sh build/fuzz $(FUZZ_SECONDS)

clean:
	rm -rf build dist pelvaro-demo
