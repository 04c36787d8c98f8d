#!/usr/bin/env bash
# Cross-builds a static libjpeg (libjpeg-turbo from Debian's source package) for
# the Windows program. Usage: build-libjpeg-mingw.sh [PREFIX]
# Skips everything when PREFIX already holds the library.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
prefix=${1:-$root/build/libjpeg-mingw}
if [ -f "$prefix/lib/libjpeg.a" ] && [ -f "$prefix/include/jpeglib.h" ]; then
  echo "libjpeg-mingw: already built in $prefix"
  exit 0
fi
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
work=$root/build/libjpeg-src
mkdir -p "$work"

# apt-get source needs a deb-src entry for the archive the machine already uses.
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
  src=/etc/apt/sources.list.d/debian.sources
  [ -f "$src" ] || { echo "libjpeg-mingw: no $src to derive a deb-src entry from" >&2; exit 1; }
  sed -n '/^$/q;p' "$src" | sed 's/^Types:.*/Types: deb-src/' | $SUDO tee /etc/apt/sources.list.d/quellmark-src.sources >/dev/null
  $SUDO apt-get update -qq
fi
if [ -z "$(find "$work" -maxdepth 2 -name CMakeLists.txt -path '*libjpeg-turbo*' 2>/dev/null | head -1)" ]; then
  (cd "$work" && apt-get source -qq --download-only libjpeg-turbo >/dev/null && dpkg-source -x --no-check ./libjpeg-turbo_*.dsc >/dev/null)
fi
srcdir=$(dirname "$(find "$work" -maxdepth 2 -name CMakeLists.txt -path '*libjpeg-turbo*' | head -1)")
cmake -S "$srcdir" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
  -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DCMAKE_CROSSCOMPILING_EMULATOR= >"$work/cmake.log" 2>&1 \
  || { cat "$work/cmake.log"; exit 1; }
ninja -C "$work/build" -j2 jpeg-static >"$work/build.log" 2>&1 || { tail -40 "$work/build.log"; exit 1; }
mkdir -p "$prefix/lib" "$prefix/include"
cp "$work/build/libjpeg.a" "$prefix/lib/"
cp "$srcdir/jpeglib.h" "$srcdir/jmorecfg.h" "$srcdir/jerror.h" "$work/build/jconfig.h" "$prefix/include/"
echo "libjpeg-mingw: built $prefix/lib/libjpeg.a"
