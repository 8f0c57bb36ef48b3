#!/usr/bin/env bash
# Installs what the named targets need, and only that, when anything is
# missing. Safe to run again: it does nothing once everything is there.
#
#   scripts/bootstrap.sh TARGET...    e.g. `native`, or `test` for everything
#
# Each target lists its Debian packages below; add a package to the target
# that uses it. `wine32` also unpacks 32-bit Wine into a private root under
# build/ (scripts/wine32-root.sh), leaving the system's own Wine alone.
set -euo pipefail

declare -A needs=(
  # The native build: plug-in module, headless host, CLI, tests and benchmarks
  # (make build, make demo, make bench); python3 runs the checks the tests register.
  [native]="build-essential cmake ninja-build python3 libgtest-dev libgmock-dev nlohmann-json3-dev llvm
            libpugixml-dev lib2geom-dev libboost-dev pkg-config rapidjson-dev libbenchmark-dev"
  # The Inkscape extension's checks in the native suites: its .inx against the
  # schema Inkscape ships.
  [inkscape]="libxml2-utils inkscape"
  # The shipped 32-bit Windows DLL (make dll).
  [dll]="cmake ninja-build g++-mingw-w64-i686"
  # The structural check of the shipped DLL, in the native suites.
  [structure]="python3 python3-pefile"
  # The Win64 test build under wine64.
  [win64]="cmake ninja-build g++-mingw-w64-x86-64 googletest nlohmann-json3-dev rapidjson-dev wine64"
  # The static 32-bit x86 Linux build under qemu.
  [linux32]="cmake ninja-build g++-multilib googletest nlohmann-json3-dev rapidjson-dev qemu-user-static"
  # The Win32 host build that runs the shipped DLL under 32-bit Wine: the
  # 32-bit dynamic loader, the zlib1.dll Wine wants, qemu for kernels that
  # refuse 32-bit programs. Wine itself comes from scripts/wine32-root.sh.
  [wine32]="cmake ninja-build g++-mingw-w64-i686 googletest nlohmann-json3-dev rapidjson-dev libc6-i386 libz-mingw-w64 qemu-user-static"
  # Fuzz targets (clang's libFuzzer); they read with the native build's libraries.
  [fuzz]="clang libclang-rt-14-dev"
)
# Targets made of other targets.
declare -A includes=(
  [test]="native inkscape dll structure win64 linux32 wine32"
)

usage() {
  echo "usage: scripts/bootstrap.sh TARGET..., targets: ${!needs[*]} ${!includes[*]}" >&2
  exit 2
}

(($# > 0)) || usage
targets=()
for t in "$@"; do
  if [ -n "${includes[$t]:-}" ]; then
    read -ra parts <<<"${includes[$t]}"
    targets+=("${parts[@]}")
  elif [ -n "${needs[$t]:-}" ]; then
    targets+=("$t")
  else
    echo "bootstrap: unknown target '$t'" >&2
    usage
  fi
done

declare -A wanted=()
for t in "${targets[@]}"; do
  for p in ${needs[$t]}; do wanted[$p]=1; done
done

missing=()
for p in "${!wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]} > 0)); then
  echo "bootstrap: installing ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "bootstrap: these packages are missing and installing them needs root: ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

for t in "${targets[@]}"; do
  if [ "$t" = wine32 ]; then
    bash "$(dirname "$0")/wine32-root.sh"
  fi
done
