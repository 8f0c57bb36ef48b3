#!/usr/bin/env bash
# Runs one Win64 program under wine64: the win64 build's CMAKE_CROSSCOMPILING_EMULATOR.
#
# The first run in a build directory creates its wine prefix (WINEPREFIX, set by
# the preset) quietly and once, under a lock, so parallel tests never race on it.
# No display is needed: console programs only.
set -euo pipefail

wine=/usr/lib/wine/wine64
: "${WINEPREFIX:?WINEPREFIX must name the prefix inside the build directory}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
# Never offer to install Mono or Gecko.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
ready="$WINEPREFIX/.pelvaro-ready"

if [ ! -e "$ready" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -e "$ready" ]; then
            if ! "$wine" wineboot --init >"$WINEPREFIX.log" 2>&1; then
                echo "wine64-run: creating the wine prefix $WINEPREFIX failed:" >&2
                cat "$WINEPREFIX.log" >&2
                exit 1
            fi
            # Let the server write the new registry out before anyone else starts.
            /usr/lib/wine/wineserver -w
            touch "$ready"
        fi
    ) 9>"$WINEPREFIX.lock"
fi

# Debian's wineserver script starts the server with -p0, so it stops with each
# program and every test would pay for a fresh server and its services. One
# that lingers ten seconds serves a whole test run (if one already runs, this
# starts none). Its services are started at once by a program of our own with
# no output: started by a test, they would keep the test's output pipes open
# and CTest would wait for them.
if /usr/lib/wine/wineserver64 -p10 >/dev/null 2>&1; then
    "$wine" cmd.exe /c exit 0 </dev/null >/dev/null 2>&1 || true
fi

# A Windows console program ends its lines with CR LF; CTest reads the test list
# of a GoogleTest program line by line and would keep the CR in every name.
for arg in "$@"; do
    if [ "$arg" = --gtest_list_tests ]; then
        "$wine" "$@" | tr -d '\r'
        exit "${PIPESTATUS[0]}"
    fi
done
exec "$wine" "$@"
