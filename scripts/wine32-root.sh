#!/usr/bin/env bash
# Unpacks Debian's 32-bit Wine into a private root, build/wine32-root, for
# cmake/toolchains/wine32-run.sh.
#
# Installing wine32:i386 with apt would bring the i386 side of every library
# Wine links, and with it an upgrade of the system's own amd64 libraries to
# the same versions (81 packages on the Debian 12 image this was tried on).
# Console programs need only Wine's loader, its DLLs and its server, which
# link nothing but libc (from libc6-i386); so the three Wine packages are
# downloaded and unpacked with dpkg -x, and nothing on the system changes but
# the i386 package lists apt needs to find them.
set -euo pipefail

root_dir="$(cd "$(dirname "$0")/.." && pwd)/build/wine32-root"
packages=(wine32:i386 wine32-preloader:i386 libwine:i386)
# The Win32 side of Debian's Wine loads zlib1.dll, which libz-mingw-w64 ships.
zlib_dll=/usr/i686-w64-mingw32/lib/zlib1.dll

versions() {
  apt-cache policy "${packages[@]}" 2>/dev/null | awk '/^[^ ]/ {name=$1} /Candidate:/ {print name, $2}'
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "bootstrap: adding the i386 architecture to apt, to download 32-bit Wine"
  dpkg --add-architecture i386
  apt-get update -q
fi
if versions | grep -q '(none)'; then
  apt-get update -q
fi
wanted="$(versions)"
if grep -q '(none)' <<<"$wanted"; then
  echo "bootstrap: apt offers no candidate for some of ${packages[*]}:" >&2
  echo "$wanted" >&2
  exit 1
fi

stamp="$root_dir/.unpacked"
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$wanted" ] && [ -f "$root_dir/usr/lib/wine/wine" ]; then
  exit 0
fi

echo "bootstrap: unpacking 32-bit Wine into $root_dir"
rm -rf "$root_dir"
mkdir -p "$root_dir/debs"
# apt's sandbox user cannot write into root-owned build folders: download as root.
(cd "$root_dir/debs" && apt-get download -q -o APT::Sandbox::User=root "${packages[@]}")
for deb in "$root_dir"/debs/*.deb; do
  dpkg -x "$deb" "$root_dir"
done
rm -rf "$root_dir/debs"

if [ ! -f "$zlib_dll" ]; then
  echo "bootstrap: $zlib_dll is missing; install libz-mingw-w64" >&2
  exit 1
fi
cp "$zlib_dll" "$root_dir/usr/lib/i386-linux-gnu/wine/i386-windows/"
echo "$wanted" >"$stamp"

# Wine starts 32-bit children (wineboot, services, any program a test starts)
# by executing them. Where the kernel refuses 32-bit programs, qemu is
# registered to run them (binfmt_misc); where it runs them, nothing changes.
probe_status=0
"$root_dir/usr/lib/wine/wine" --version >/dev/null 2>&1 || probe_status=$?
if [ "$probe_status" -eq 126 ]; then
  binfmt=/proc/sys/fs/binfmt_misc
  if [ ! -e "$binfmt/register" ]; then
    mount -t binfmt_misc binfmt_misc "$binfmt"
  fi
  if [ ! -e "$binfmt/pelvaro-qemu-i386" ]; then
    echo "bootstrap: this kernel refuses 32-bit programs: registering qemu-i386-static for them"
    echo ':pelvaro-qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
      >"$binfmt/register"
  fi
elif [ "$probe_status" -ne 0 ]; then
  echo "bootstrap: $root_dir/usr/lib/wine/wine --version failed with status $probe_status" >&2
  exit 1
fi
