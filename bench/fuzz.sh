#!/usr/bin/env bash
# Long fuzzing: runs every fuzz target for HOURS (default 1; fractions are
# fine), two at a time, growing build-fuzz/corpus/<target>; then replays each
# grown corpus and its seeds through a coverage build (build-fuzz-coverage/)
# and prints, per target, its executions and the lines of the code it aims at
# that the corpus reaches.
#
#   bash bench/fuzz.sh 8
set -euo pipefail
cd "$(dirname "$0")/.."

hours="${1:-1}"
seconds=$(awk -v h="$hours" 'BEGIN { printf "%d", h * 3600 }')
bash scripts/ci-fuzz.sh "$seconds"

bash scripts/deps.sh llvm
dir=build-fuzz-coverage
cmake -S . -B "$dir" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DMIRABO_FUZZ=ON \
  -DMIRABO_FUZZ_COVERAGE=ON -DMIRABO_TESTS=OFF -DMIRABO_TOOLS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" -j "$(nproc)" --target fuzz_targets >/dev/null

# The code each target is there for.
readers="resfile/byte_reader.cpp resfile/string_table.cpp platform/linux/dialog_template.cpp platform/linux/menu_resource.cpp
  platform/linux/string_table.cpp platform/linux/accelerator_table.cpp platform/linux/dib.cpp"
declare -A aims=(
  [solvers_fuzz]="calc/"
  [cli_fuzz]="cli/run_calc.cpp cli/forms.cpp text/utf8.cpp text/terminal_text.cpp"
  [csv_fuzz]="cli/csv_reader.cpp cli/batch.cpp cli/batch_form.cpp cli/batch_output.cpp"
  [resource_readers_fuzz]="$readers"
  [resource_file_fuzz]="resfile/resource_file.cpp platform/linux/resource_directory.cpp $readers"
)
echo
printf '%-22s %8s %8s %8s  %s\n' target lines reached share code
for seeds in fuzz/corpus/*/; do
  target=$(basename "$seeds")
  binary="$dir/fuzz/$target"
  [ -x "$binary" ] || continue
  rm -f "$dir/$target".*.profraw
  LLVM_PROFILE_FILE="$PWD/$dir/$target.%p.profraw" "$binary" -runs=0 "build-fuzz/corpus/$target" "$seeds" \
    >/dev/null 2>&1 || true
  llvm-profdata merge -sparse "$dir/$target".*.profraw -o "$dir/$target.profdata"
  aim=${aims[$target]:-}
  [ -n "$aim" ] || continue
  # The "TOTAL" line over the aimed files: lines, missed, share.
  # shellcheck disable=SC2086
  llvm-cov report "$binary" -instr-profile="$dir/$target.profdata" $(printf "$PWD/%s " $aim) |
    awk -v t="$target" -v a="$(echo $aim | tr -s ' \n' ' ')" \
      '$1 == "TOTAL" { printf "%-22s %8d %8d %8s  %s\n", t, $8, $8 - $9, $10, a }'
done
