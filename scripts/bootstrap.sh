#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is
# missing. Safe to run again: it does nothing once everything is there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build git python3
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  nlohmann-json3-dev libpugixml-dev librsvg2-bin lib2geom-dev libboost-dev pkg-config libxml2-utils
  llvm clang libclang-rt-14-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine64
  qemu-user-static g++-multilib python3-pefile
  inkscape
)

missing=()
for p in "${packages[@]}"; do
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
