#!/usr/bin/env bash
# Pictures of Mirabo for Windows as it runs under Wine, for the README:
# docs/screenshots/windows/*.png (the main window with a menu open, each
# calculator after its first example, the About box) in Japanese, and the
# same in English in docs/screenshots/windows/english/ (LANG=en_US.UTF-8
# makes the user's UI language English). With a DPI (144 for 150 %, 192 for
# 200 %) as argument, the pictures go to a folder of that name under /tmp
# instead, to look at display scaling.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh cmake ninja-build g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev \
  binutils-mingw-w64-x86-64 googletest wine wine64 fonts-wine fonts-ipafont-gothic xvfb xauth locales \
  newlib-source
dpi="${1:-96}"
out="docs/screenshots/windows"
[ "$dpi" = 96 ] || out="/tmp/mirabo-screenshots-$dpi"
win=build-windows
cmake -S . -B "$win" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DMIRABO_BENCH=OFF >/dev/null
cmake --build "$win" -j "$(nproc)" --target mirabo mirabo_wine_screenshots

source scripts/wine-env.sh
trap wine_stop EXIT
wine_start
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
[ "$dpi" = 96 ] || wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1600x1200 /f >/dev/null 2>&1
wineserver -w
mkdir -p "$out/english"
out=$(realpath "$out")
status=0
wine "$win/ui/mirabo_wine_screenshots.exe" "$(wine_path "$out")" || status=$?
LANG=en_US.UTF-8 wine "$win/ui/mirabo_wine_screenshots.exe" "$(wine_path "$out/english")" || status=$?
# The next user of the prefix gets the usual scaling back.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
[ "$status" = 0 ] || { echo "FAIL: a picture was not taken (exit status $status)" >&2; exit 1; }
