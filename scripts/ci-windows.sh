#!/usr/bin/env bash
# The Windows stage of continuous integration, on Linux: Mirabo cross-built
# with mingw-w64 and run under Wine (in a virtual desktop on Xvfb, Japanese
# locale; the program's tests once more in an English one).
#   1. the calculator and command-line tests, and the test program that
#      drives the real mirabo.exe with messages, mouse and keyboard (ctest);
#   2. mirabo-calc.exe against the Linux build: the first example of every
#      calculator through both programs, and a generated table of cases
#      through both builds of the calculators, compared byte for byte (every
#      text the same; the exact values within a unit in the last place), and
#      the elementary functions of both builds over the same inputs;
#   3. the release files (scripts/package-windows.sh), and the installer
#      installed silently, used, and uninstalled without a trace.
# Installs what it needs. Expects nothing of the Linux stages.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/ci-failure.sh"
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/deps.sh cmake ninja-build g++ pkg-config googletest locales \
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64 llvm \
  wine wine64 fonts-wine fonts-ipafont-gothic xvfb xauth nsis zip unzip newlib-source

source scripts/wine-env.sh
trap wine_stop EXIT
wine_start
wine_keep_server

echo "== Windows build"
win=build-windows
cmake -S . -B "$win" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DMIRABO_BENCH=OFF >/dev/null
cmake --build "$win" -j "$(nproc)"

echo "== Tests under Wine"
export MIRABO_FAILURE_FOLDER
MIRABO_FAILURE_FOLDER=$(wine_path "$root/$win")
ctest --test-dir "$win" --output-on-failure -j "$(nproc)"

echo "== The program in English under Wine"
# An English locale makes the user's UI language English: the program speaks
# English, and the tests expect its English texts (what screen readers are
# told, the menu bar, the dialogs' captions and messages).
LANG=en_US.UTF-8 ctest --test-dir "$win" --output-on-failure --no-tests=error \
  -R '^(ProgramTest|Templates/NamedTemplateTest|MenuBarAccessibilityTest)\.'

echo "== mirabo-calc.exe against the Linux build"
lin=build-windows-compare
cmake -S . -B "$lin" -G Ninja -DMIRABO_DESKTOP=OFF -DMIRABO_BENCH=OFF >/dev/null
cmake --build "$lin" -j "$(nproc)" --target mirabo-calc calc_table elementary_probe
work="$MIRABO_WINE_DIR/compare"
mkdir -p "$work"
# The first example of each calculator, texts typed in other scripts, and
# angles of 90 degrees (next to tan's pole, where the elementary functions'
# last bits show), through both programs: plain, and JSON without the exact
# values.
examples=(
  "rotate x=3 y=4 angle=30"
  "right a=3 b=4"
  "oblique a=7 b=8 c=9"
  "ohm V=10 I=2"
  "ohm V=１０ I=2"
  "right a=３ b=4 --json"
  "oblique a=-1 b=2 c=2"
  "right α=1 a=2"
  "right b=3 beta=90"
  "rotate x=1 y=0 angle=90"
)
for example in "${examples[@]}"; do
  read -r -a args <<<"$example"
  for json in "" "--json"; do
    set +e
    "$lin/cli/mirabo-calc" "${args[@]}" $json >"$work/linux.out" 2>"$work/linux.err" </dev/null
    linux_status=$?
    wine "$win/cli/mirabo-calc.exe" "${args[@]}" $json >"$work/windows.out" 2>"$work/windows.err" </dev/null
    windows_status=$?
    set -e
    sed -i 's/,"values":{[^}]*}//' "$work/linux.out" "$work/windows.out"
    if [ "$linux_status" != "$windows_status" ] || ! cmp -s "$work/linux.out" "$work/windows.out" ||
       ! cmp -s "$work/linux.err" "$work/windows.err"; then
      echo "mirabo-calc.exe differs from the Linux build: $example $json (status $windows_status, $linux_status)"
      diff <(od -c "$work/linux.out") <(od -c "$work/windows.out") || true
      exit 1
    fi
  done
done
echo "${#examples[@]} examples: the same bytes and exit status, plain and JSON"
"$lin/tests/cli/calc_table" generate 2500 20261207 "$work/cases.tsv"
"$lin/tests/cli/calc_table" run "$work/cases.tsv" "$work/linux.results"
wine "$win/tests/cli/calc_table.exe" run "$(wine_path "$work/cases.tsv")" "$(wine_path "$work/windows.results")"
# Every text the same as the Linux build's; the exact values behind them may
# differ in their last bit, counted here.
if ! "$lin/tests/cli/calc_table" compare "$work/linux.results" "$work/windows.results" --same-texts \
    >"$work/compare.out"; then
  cat "$work/compare.out"; exit 1
fi
tail -n 2 "$work/compare.out"
# The elementary functions themselves (calc/elementary.h): newlib's on
# Windows, within one unit in the last place of GNU libc's.
"$lin/tests/calc/elementary_probe" run "$work/linux.elementary"
wine "$win/tests/calc/elementary_probe.exe" run "$(wine_path "$work/windows.elementary")"
"$lin/tests/calc/elementary_probe" compare "$work/linux.elementary" "$work/windows.elementary"

echo "== Release files, installed and uninstalled under Wine"
MIRABO_WINDOWS_BUILD=build-windows-release bash scripts/package-windows.sh
version=$(sed -n 's/^project(Mirabo VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
setup="out/mirabo-$version-windows-x64-setup.exe"
listing=$(unzip -l "out/mirabo-$version-windows-x64.zip")
for file in mirabo.exe mirabo-calc.exe README.txt LICENSE.txt; do
  grep -q "mirabo-$version-windows-x64/$file" <<<"$listing" || { echo "the zip has no $file"; exit 1; }
done
# README.txt for Notepad: UTF-8 with a byte-order mark, every line ended by CRLF.
unzip -p "out/mirabo-$version-windows-x64.zip" "mirabo-$version-windows-x64/README.txt" >"$work/README.txt"
[ "$(head -c 3 "$work/README.txt" | od -An -tx1 | tr -d ' ')" = efbbbf ] ||
  { echo "README.txt has no byte-order mark"; exit 1; }
lines=$(tr -cd '\n' <"$work/README.txt" | wc -c)
[ "$lines" -gt 0 ] && [ "$(grep -c $'\r$' "$work/README.txt")" = "$lines" ] ||
  { echo "README.txt has a line that does not end in CRLF"; exit 1; }
# The same release files again: staged and packed a second time (two seconds
# later, so that any time of day written into them would show), and
# mirabo-calc.exe compiled once more in a build folder at another path; a
# whole second build would cost minutes of CI's budget.
(cd out && sha256sum "mirabo-$version-windows-x64.zip" "mirabo-$version-windows-x64-setup.exe") >"$work/release.sums"
sleep 2
MIRABO_WINDOWS_BUILD=build-windows-release bash scripts/package-windows.sh >/dev/null
(cd out && sha256sum -c --quiet "$work/release.sums") || { echo "the release files differ when made again"; exit 1; }
again=build-windows-release-again/elsewhere
cmake -S . -B "$again" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DMIRABO_TESTS=OFF -DMIRABO_BENCH=OFF >/dev/null
# Compiled for real even where ccache would hand back the first build's objects.
CCACHE_DISABLE=1 cmake --build "$again" -j "$(nproc)" --target mirabo-calc
SOURCE_DATE_EPOCH=0 x86_64-w64-mingw32-strip -o "$work/mirabo-calc.exe" "$again/cli/mirabo-calc.exe"
cmp "$work/mirabo-calc.exe" "out/mirabo-$version-windows-x64/mirabo-calc.exe" ||
  { echo "mirabo-calc.exe built in $again differs from the release's"; exit 1; }
echo "the zip and the installer made twice, and mirabo-calc.exe built at another path: the same bytes"
# --version to a file and through a pipe: one line, status 0, no window.
for program in ui/mirabo cli/mirabo-calc; do
  name=${program#*/}
  status=0
  timeout 60 wine "build-windows-release/$program.exe" --version >"$work/version.out" 2>/dev/null </dev/null || status=$?
  piped=$(timeout 60 wine "build-windows-release/$program.exe" --version 2>/dev/null </dev/null | od -c)
  if [ "$status" != 0 ] || [ "$(cat "$work/version.out")" != "$name $version" ] ||
     [ "$(wc -l <"$work/version.out")" != 1 ] || [ "$piped" != "$(od -c <"$work/version.out")" ]; then
    echo "$name.exe --version: status $status"; od -c "$work/version.out"; exit 1
  fi
done
echo "mirabo.exe and mirabo-calc.exe --version: one line each, to a file and to a pipe"
# Installed and uninstalled in each language: the installer speaks the
# user's (it records the one it spoke, a Windows language identifier, for
# the uninstaller). Without switches it installs for the current user alone:
# into the user's own programs folder, with keys under HKCU and none under
# HKLM; and its manifest asks for no elevation.
grep -aq 'requestedExecutionLevel level="asInvoker"' "$setup" ||
  { echo "the installer's manifest asks for more than the user's own rights"; exit 1; }
shortcut=$(winepath -u 'C:\users')/$(id -un)/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs/Mirabo\ 工学計算機.lnk
own_programs=$(winepath -u 'C:\users')/$(id -un)/AppData/Local/Programs
left_behind() {
  [ -e "$folder" ] || [ -e "$shortcut" ] || wine reg query 'HKCU\Software\Mirabo' >/dev/null 2>&1 ||
    wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Mirabo' >/dev/null 2>&1
}
registry_value() {
  wine reg query 'HKCU\Software\Mirabo' /v "$1" 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p'
}
for run in "ja_JP.UTF-8 1041" "en_US.UTF-8 1033"; do
  read -r locale language <<<"$run"
  export LANG=$locale
  status=0
  # No switches: for the current user alone.
  wine "$setup" /S || status=$?
  [ "$status" = 0 ] || { echo "the silent installer ended with status $status (LANG=$LANG)"; exit 1; }
  # Ask again for a while: the install folder is the installer's last word.
  installed=""
  for _ in $(seq 50); do
    installed=$(registry_value InstallDir) || true
    [ -n "$installed" ] && break
    sleep 0.2
  done
  [ -n "$installed" ] || { echo "the installer wrote no install folder"; exit 1; }
  spoken=$(registry_value Language) || true
  [ "$spoken" = "$language" ] || { echo "with LANG=$LANG the installer spoke language '$spoken', not $language"; exit 1; }
  folder=$(winepath -u "$installed")
  ls "$folder"
  [ "$folder" = "$own_programs/Mirabo" ] || { echo "installed to $folder, not the user's own $own_programs/Mirabo"; exit 1; }
  for key in 'HKLM\Software\Mirabo' 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Mirabo'; do
    ! wine reg query "$key" >/dev/null 2>&1 || { echo "an install for the current user wrote $key"; exit 1; }
  done
  [ -f "$shortcut" ] || { echo "no Start-menu shortcut at $shortcut"; exit 1; }
  out=$(wine "$installed\\mirabo-calc.exe" right a=3 b=4)
  [ "$out" = $'a=3.000\nb=4.000\nc=5.000\nalpha=53.130\nbeta=36.870' ] || { echo "installed mirabo-calc.exe: $out"; exit 1; }
  wine "$installed\\uninstall.exe" /S
  # The uninstaller runs on from a copy of itself: give it a while to finish.
  for _ in $(seq 100); do left_behind || break; sleep 0.2; done
  if left_behind; then
    echo "the uninstaller left something behind"; exit 1
  fi
  echo "LANG=$LANG: installed to $installed in language $spoken, ran mirabo-calc.exe, uninstalled: nothing left"
done
unset LANG

# The PATH: a new process finds mirabo-calc.exe through it after a silent
# install, and the uninstaller gives the value back byte for byte; with
# /NoPath it is not touched. Tried on a PATH with an entry of its own and
# on one that ends in ";".
path_value() {
  wine reg query 'HKCU\Environment' /v Path 2>/dev/null | tr -d '\r' | sed -n 's/^ *Path *REG_[A-Z_]* *//p'
}
path_type() {
  wine reg query 'HKCU\Environment' /v Path 2>/dev/null | tr -d '\r' | sed -n 's/^ *Path *\(REG_[A-Z_]*\).*/\1/p'
}
finds_calc() {
  local said
  said=$(cd "$MIRABO_WINE_DIR" && wine cmd /c "mirabo-calc right a=3 b=4" 2>/dev/null | tr -d '\r')
  [ "$said" = $'a=3.000\nb=4.000\nc=5.000\nalpha=53.130\nbeta=36.870' ]
}
wait_uninstalled() {
  for _ in $(seq 100); do left_behind || break; sleep 0.2; done
  if left_behind; then echo "the uninstaller left something behind"; exit 1; fi
}
for run in "%SystemRoot%\\mirabo-tools yes" "C:\\mirabo-tools; yes" "C:\\mirabo-tools no"; do
  read -r before add <<<"$run"
  wine reg add 'HKCU\Environment' /v Path /t REG_EXPAND_SZ /d "$before" /f >/dev/null
  recorded=$(path_value)
  [ "$recorded" = "$before" ] || { echo "the PATH was not set up: '$recorded'"; exit 1; }
  switches=(/S /CurrentUser)
  [ "$add" = yes ] || switches+=(/NoPath)
  wine "$setup" "${switches[@]}"
  for _ in $(seq 50); do [ -n "$(registry_value InstallDir)" ] && break; sleep 0.2; done
  installed=$(registry_value InstallDir)
  folder=$(winepath -u "$installed")
  during=$(path_value)
  if [ "$add" = yes ]; then
    [ "$(path_type)" = REG_EXPAND_SZ ] || { echo "the PATH is $(path_type) after the install"; exit 1; }
    finds_calc || { echo "a new process does not find mirabo-calc through the PATH '$during'"; exit 1; }
  else
    [ "$during" = "$recorded" ] || { echo "/NoPath changed the PATH to '$during'"; exit 1; }
    ! finds_calc || { echo "mirabo-calc found on the PATH after /NoPath"; exit 1; }
  fi
  wine "$installed\\uninstall.exe" /S
  wait_uninstalled
  after=$(path_value)
  [ "$after" = "$recorded" ] && [ "$(path_type)" = REG_EXPAND_SZ ] ||
    { echo "the PATH was '$recorded', is '$after' ($(path_type)) after the uninstall"; exit 1; }
  echo "PATH '$recorded': $( [ "$add" = yes ] && echo "'$during' while installed" || echo "untouched with /NoPath"), the same after the uninstall"
done
wine reg delete 'HKCU\Environment' /v Path /f >/dev/null
