#!/usr/bin/env bash
# Builds Mirabo for 64-bit Windows with the mingw-w64 cross compiler and makes
# its release files in out/:
#   mirabo-VERSION-windows-x64.zip        mirabo.exe, mirabo-calc.exe, README.txt, licence
#   mirabo-VERSION-windows-x64-setup.exe  the installer (NSIS)
# Installs what it needs. MIRABO_WINDOWS_BUILD names the build folder
# (default build-windows-release).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh cmake ninja-build g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev \
  binutils-mingw-w64-x86-64 nsis zip newlib-source

version=$(sed -n 's/^project(Mirabo VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
quad="$version.0"
dir="${MIRABO_WINDOWS_BUILD:-build-windows-release}"
cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DMIRABO_TESTS=OFF -DMIRABO_BENCH=OFF >/dev/null
cmake --build "$dir" -j "$(nproc)" --target mirabo mirabo-calc

name="mirabo-$version-windows-x64"
stage="out/$name"
rm -rf "$stage" "out/$name.zip" "out/$name-setup.exe"
mkdir -p "$stage"
# strip writes the header's time anew, from SOURCE_DATE_EPOCH when set: none
# (0), as the linker leaves it (--no-insert-timestamp).
SOURCE_DATE_EPOCH=0 x86_64-w64-mingw32-strip -o "$stage/mirabo.exe" "$dir/ui/mirabo.exe"
SOURCE_DATE_EPOCH=0 x86_64-w64-mingw32-strip -o "$stage/mirabo-calc.exe" "$dir/cli/mirabo-calc.exe"
# The README for Windows (packaging/windows/README.txt with the version): UTF-8
# with a byte-order mark and Windows line ends, so that Notepad of any age
# shows its Japanese and its lines.
{
  printf '\357\273\277'
  sed "s/@VERSION@/$version/" packaging/windows/README.txt
} | sed 's/$/\r/' >"$stage/README.txt"
# The licence, with Windows line ends so that Notepad of any age shows the
# lines, and what the programs carry of the compiler's run-time libraries and
# of newlib's elementary functions.
{
  cat LICENSE
  cat <<'TEXT'

mirabo.exe and mirabo-calc.exe contain the run-time libraries of GCC and
mingw-w64 (GCC Runtime Library Exception; mingw-w64 runtime licence: ZPL and
public domain), and elementary functions of newlib's libm, under this notice:

  Copyright (C) 1993 by Sun Microsystems, Inc. All rights reserved.

  Developed at SunPro, a Sun Microsystems, Inc. business.
  Permission to use, copy, modify, and distribute this
  software is freely granted, provided that this notice
  is preserved.
TEXT
} | sed 's/$/\r/' >"$stage/LICENSE.txt"

# The zip: one folder, files in a fixed (sorted) order with fixed modes and
# the time of the last commit, and no owners (-X), so that the same commit
# gives the same zip wherever and whenever it is built.
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}
stamp=$(date -u -d "@$epoch" +%Y%m%d%H%M.%S)
chmod 755 "$stage"
chmod 644 "$stage"/*
find "$stage" -exec env TZ=UTC touch -t "$stamp" {} +
rm -f "out/$name.zip"
(cd out && find "$name" | LC_ALL=C sort | TZ=UTC zip -X -q "$name.zip" -@)

# The installer, with the program's icon (the files keep the same times).
cp res/mirabo.ico "$stage/mirabo.ico"
chmod 644 "$stage/mirabo.ico"
TZ=UTC touch -t "$stamp" "$stage/mirabo.ico"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DVERSION_QUAD="$quad" \
  -DSTAGE="$(realpath "$stage")" -DOUTFILE="$(realpath out)/$name-setup.exe" packaging/windows/mirabo.nsi
rm "$stage/mirabo.ico"

ls -l "out/$name.zip" "out/$name-setup.exe"
