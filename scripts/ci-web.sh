#!/usr/bin/env bash
# The WebAssembly stage of continuous integration: the calculators and
# mirabo-calc compiled with Debian's emscripten into build-web/ and run by Node.
#   1. the calculator and command-line tests under Node (ctest);
#   2. build-web/mirabo-calc.js against the Linux build: examples through both
#      programs (arguments, files read through the real file system, standard
#      input, every exit status) byte for byte, and the generated table of
#      cases through both builds of the calculators, where a text may differ
#      only where the exact values behind it do; those values are counted;
#   3. the web app built from the same sources and tested in headless Chromium
#      (tests/web/run.sh).
# Installs what it needs. Expects nothing of the other stages.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/ci-failure.sh"
cd "$(dirname "$0")/.."

# nodejs as the machine has it (any recent Node runs the build); emscripten's
# own tools need Debian's acorn.
bash scripts/deps.sh cmake ninja-build g++ pkg-config libgtest-dev googletest \
  llvm emscripten nodejs node-acorn libfast-float-dev libfmt-dev
node=$(command -v node || command -v nodejs)
if ! "$node" -e 'require("acorn")' 2>/dev/null; then
  # Not Debian's Node: emcc finds acorn in Debian's module folder.
  export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
fi

echo "== WebAssembly build"
web=build-web
emcmake cmake -S . -B "$web" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMIRABO_DESKTOP=OFF \
  -DMIRABO_BENCH=OFF -DCMAKE_CROSSCOMPILING_EMULATOR="$node" >/dev/null
cmake --build "$web" -j "$(nproc)"

echo "== Tests under Node"
ctest --test-dir "$web" --output-on-failure -j "$(nproc)"

echo "== mirabo-calc.js against the Linux build"
lin=build-web-compare
cmake -S . -B "$lin" -G Ninja -DMIRABO_DESKTOP=OFF -DMIRABO_BENCH=OFF >/dev/null
cmake --build "$lin" -j "$(nproc)" --target mirabo-calc calc_table
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'a,b\r\n3,4\r\n1,\r\n' >"$work/cases.csv"
printf '\xef\xbb\xbfa,\xce\xb1\n\xef\xbc\x93,30\n"1,5",x\n' >"$work/japanese.csv"
printf 'a,b\n3,4\n"1,\n' >"$work/unclosed.csv"
printf 'a,b\n3,4\n' >"$work/stdin.csv"
printf 'ID,a,b,note\n7,3,4,x\n' >"$work/carried.csv"
# Each example: the arguments, then "<" and a file for standard input.
examples=(
  "rotate x=3 y=4 angle=30"
  "right a=3 b=4"
  "oblique a=7 b=8 c=9"
  "ohm V=10 I=2"
  "ohm V=１０ I=2"
  "right a=３ b=4"
  "oblique a=-1 b=2 c=2"
  "right α=1 a=2"
  "right a=3"
  "ohm V=0 I=0"
  "ohm V=1 I=0 --yes"
  "ohm V=1 I=0 --no"
  "right a=1e5 b=2"
  "right bogus=1"
  "nothing"
  "--help"
  "right --batch $work/cases.csv"
  "right --batch $work/cases.csv --json --bom"
  "right --batch $work/japanese.csv --yes"
  "right --batch $work/unclosed.csv"
  "right --batch $work/missing.csv"
  "right --batch < $work/stdin.csv"
  "right --batch - --json < $work/stdin.csv"
  "right --batch < $work/carried.csv"
  "ohm V=1 R=0"
  "-- right a=3 b=4"
)
for example in "${examples[@]}"; do
  read -r -a words <<<"$example"
  input=/dev/null
  if [ "${#words[@]}" -ge 2 ] && [ "${words[-2]}" = "<" ]; then
    input=${words[-1]}
    words=("${words[@]:0:${#words[@]}-2}")
  fi
  for json in "" "--json"; do
    [[ "$example" == *--batch* || "$example" == *--help* ]] && [ -n "$json" ] && continue
    set +e
    "$lin/cli/mirabo-calc" "${words[@]}" $json >"$work/linux.out" 2>"$work/linux.err" <"$input"
    linux_status=$?
    "$node" "$web/mirabo-calc.js" "${words[@]}" $json >"$work/web.out" 2>"$work/web.err" <"$input"
    web_status=$?
    set -e
    if [ "$linux_status" != "$web_status" ] || ! cmp -s "$work/linux.out" "$work/web.out" ||
       ! cmp -s "$work/linux.err" "$work/web.err"; then
      echo "mirabo-calc.js differs from the Linux build: $example $json (status $web_status, $linux_status)"
      diff <(od -c "$work/linux.out") <(od -c "$work/web.out") || true
      diff "$work/linux.err" "$work/web.err" || true
      exit 1
    fi
  done
done
echo "${#examples[@]} examples: the same bytes and exit status"

# Node's C library has no converter for CP932: the encoding is refused, before
# any row, as a usage error.
set +e
"$node" "$web/mirabo-calc.js" right --batch "$work/cases.csv" --encoding cp932 >"$work/web.out" 2>"$work/web.err"
status=$?
set -e
if [ "$status" != 64 ] || [ -s "$work/web.out" ] ||
   ! grep -q '^mirabo-calc: --encoding cp932: this system has no converter for CP932 text' "$work/web.err"; then
  echo "--encoding cp932 was not refused as it should be (status $status)"
  cat "$work/web.err"
  exit 1
fi
echo "--encoding cp932 refused with status 64: $(head -n 1 "$work/web.err")"

"$lin/tests/cli/calc_table" generate 2500 20261207 "$work/table.tsv"
"$lin/tests/cli/calc_table" run "$work/table.tsv" "$work/linux.results"
"$node" "$web/tests/cli/calc_table.js" run "$work/table.tsv" "$work/web.results"
"$lin/tests/cli/calc_table" compare "$work/linux.results" "$work/web.results" | tail -n 4

echo "== The web app in headless Chromium"
bash tests/web/run.sh
