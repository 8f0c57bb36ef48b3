#!/usr/bin/env bash
# Runs one Win32 program under 32-bit Wine: the wine32 build's
# CMAKE_CROSSCOMPILING_EMULATOR, and a plain runner for pelvaro.exe:
#
#   WINEPREFIX=build/wine32/wineprefix cmake/toolchains/wine32-run.sh PROGRAM.exe ARGS...
#
# Wine is Debian's, unpacked into build/wine32-root by scripts/bootstrap.sh
# (PELVARO_WINE32_ROOT names another root). Where the kernel runs 32-bit
# programs Wine runs natively; where it does not, or when
# PELVARO_WINE32_VIA_QEMU=1, the program runs under qemu-i386-static, started
# through Wine's preloader (a start without it takes minutes under qemu).
#
# The first run creates the prefix (a pure 32-bit one) quietly and once, under
# a lock. One wine server then lingers across a test run, and its services are
# started by a program of our own, away from the tests' output pipes.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="${PELVARO_WINE32_ROOT:-$(dirname "$(dirname "$here")")/build/wine32-root}"
bin="$root/usr/lib/wine"
: "${WINEPREFIX:?WINEPREFIX must name the wine prefix, e.g. build/wine32/wineprefix}"
export WINEPREFIX
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
# Never offer to install Mono or Gecko.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# The root's own 32-bit server, not whatever the system's wineserver script picks.
export WINESERVER="$bin/wineserver32"

if [ ! -x "$bin/wine" ]; then
    echo "wine32-run: no 32-bit Wine in $root; run scripts/bootstrap.sh wine32" >&2
    exit 1
fi

via_qemu=0
if [ "${PELVARO_WINE32_VIA_QEMU:-0}" = 1 ]; then
    via_qemu=1
elif ! "$bin/wine" --version >/dev/null 2>&1; then
    via_qemu=1  # the kernel refuses 32-bit programs
fi

# Starts a 32-bit Wine program (wine itself or its server) the chosen way.
run32() {
    local program="$1"
    shift
    if [ "$via_qemu" = 1 ]; then
        if [ "$program" = wine ]; then
            WINELOADERNOEXEC=1 /usr/bin/qemu-i386-static "$bin/wine-preloader" "$bin/wine" "$@"
        else
            /usr/bin/qemu-i386-static "$bin/$program" "$@"
        fi
    else
        "$bin/$program" "$@"
    fi
}

ready="$WINEPREFIX/.pelvaro-ready"
if [ ! -e "$ready" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -e "$ready" ]; then
            # wineboot's exit status is not zero even when it succeeds: judge by
            # what it leaves.
            run32 wine wineboot --init </dev/null >"$WINEPREFIX.log" 2>&1 || true
            run32 wineserver32 -w
            if [ ! -f "$WINEPREFIX/system.reg" ] ||
                [ ! -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ]; then
                echo "wine32-run: creating the wine prefix $WINEPREFIX failed:" >&2
                cat "$WINEPREFIX.log" >&2
                exit 1
            fi
            # Debian's Wine wants zlib1.dll (from libz-mingw-w64) where a program finds it.
            cp "$root/usr/lib/i386-linux-gnu/wine/i386-windows/zlib1.dll" \
                "$WINEPREFIX/drive_c/windows/system32/"
            touch "$ready"
        fi
    ) 9>"$WINEPREFIX.lock"
fi

# A server that lingers ten seconds serves a whole test run (if one already
# runs, this starts none); its services start now, with no output to keep.
if run32 wineserver32 -p10 >/dev/null 2>&1; then
    run32 wine cmd.exe /c exit 0 </dev/null >/dev/null 2>&1 || true
fi

# Console programs need no fonts, so the root has no FreeType; win32u says so
# on stderr in every program that starts it (any that links user32). Those
# four lines go; everything else passes.
quiet() {
    grep --line-buffered -v -x -F \
        -e 'Wine cannot find the FreeType font library.  To enable Wine to' \
        -e 'use TrueType fonts please install a version of FreeType greater than' \
        -e 'or equal to 2.0.5.' -e 'http://www.freetype.org' || true
}

# A Windows console program ends its lines with CR LF; CTest reads the test list
# of a GoogleTest program line by line and would keep the CR in every name.
status=0
if printf '%s\n' "$@" | grep -qx -- --gtest_list_tests; then
    run32 wine "$@" 2> >(quiet >&2) | tr -d '\r' || status=${PIPESTATUS[0]}
else
    run32 wine "$@" 2> >(quiet >&2) || status=$?
fi
wait  # for the stderr filter
exit "$status"
