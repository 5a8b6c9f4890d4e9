#!/usr/bin/env bash
# Builds Mirabo for 64-bit Windows with the mingw-w64 cross compiler and makes
# its release files in out/:
#   mirabo-VERSION-windows-x64.zip        mirabo.exe, mirabo-calc.exe, README, licence
#   mirabo-VERSION-windows-x64-setup.exe  the installer (NSIS)
# Installs what it needs. MIRABO_WINDOWS_BUILD names the build folder
# (default build-windows-release).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh cmake ninja-build g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev \
  binutils-mingw-w64-x86-64 nsis zip

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
x86_64-w64-mingw32-strip -o "$stage/mirabo.exe" "$dir/ui/mirabo.exe"
x86_64-w64-mingw32-strip -o "$stage/mirabo-calc.exe" "$dir/cli/mirabo-calc.exe"
cp README.md "$stage/README.md"
# The licence, with Windows line ends so that Notepad of any age shows the
# lines, and what the programs carry of the compiler's run-time libraries.
{
  cat LICENSE
  cat <<'TEXT'

mirabo.exe and mirabo-calc.exe contain the run-time libraries of GCC and
mingw-w64 (GCC Runtime Library Exception; mingw-w64 runtime licence: ZPL and
public domain).
TEXT
} | sed 's/$/\r/' >"$stage/LICENSE.txt"

# The zip: one folder, files in a fixed order with the time of the last commit.
stamp=$(git log -1 --format=%cd --date=format:%Y%m%d%H%M.%S 2>/dev/null || date +%Y%m%d%H%M.%S)
find "$stage" -exec touch -t "$stamp" {} +
(cd out && TZ=UTC zip -X -q -r "$name.zip" "$name")

# The installer, with the program's icon.
cp res/mirabo.ico "$stage/mirabo.ico"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DVERSION_QUAD="$quad" \
  -DSTAGE="$(realpath "$stage")" -DOUTFILE="$(realpath out)/$name-setup.exe" packaging/windows/mirabo.nsi
rm "$stage/mirabo.ico"

ls -l "out/$name.zip" "out/$name-setup.exe"
