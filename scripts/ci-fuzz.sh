#!/usr/bin/env bash
# Builds the fuzz targets with clang (build-fuzz/) and runs each of them for
# SECONDS (default 60), two at a time, from its committed seed corpus in
# fuzz/corpus/<target>; what they find grows build-fuzz/corpus/<target>.
# Prints each target's executions and coverage; fails when a target breaks an
# invariant or crashes (the input is kept in build-fuzz/artifacts/).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/ci-failure.sh"
cd "$(dirname "$0")/.."

seconds="${1:-60}"
dir=build-fuzz
began=$(date +%s)
bash scripts/deps.sh clang libclang-rt-14-dev cmake ninja-build qt6-base-dev llvm
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$dir" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DMIRABO_FUZZ=ON \
  -DMIRABO_TESTS=OFF -DMIRABO_TOOLS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)" --target fuzz_targets
echo "building the fuzz targets took $(($(date +%s) - began)) s"

targets=()
for seeds in fuzz/corpus/*/; do
  target=$(basename "$seeds")
  [ -x "$dir/fuzz/$target" ] && targets+=("$target")
done
mkdir -p "$dir/artifacts" "$dir/logs"

run() {
  local target=$1
  mkdir -p "$dir/corpus/$target"
  "$dir/fuzz/$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$dir/artifacts/$target-" "$dir/corpus/$target" "fuzz/corpus/$target" \
    >"$dir/logs/$target.log" 2>&1
}

start=$(date +%s)
declare -A status
pids=()
names=()
for target in "${targets[@]}"; do
  # Two at a time, one per core.
  while [ "$(jobs -rp | wc -l)" -ge 2 ]; do wait -n || true; done
  run "$target" &
  pids+=($!)
  names+=("$target")
done
failed=0
for i in "${!pids[@]}"; do
  if wait "${pids[$i]}"; then status[${names[$i]}]=ok; else status[${names[$i]}]=FAILED; failed=1; fi
done

printf '%-22s %-7s %14s %8s %8s %8s\n' target result executions edges features corpus
for target in "${targets[@]}"; do
  log="$dir/logs/$target.log"
  execs=$(sed -n 's/^stat::number_of_executed_units: //p' "$log" | tail -1)
  last=$(grep -E '(DONE|pulse|NEW|REDUCE|INITED) +cov:' "$log" | tail -1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  corp=$(sed -n 's/.* corp: \([0-9]*\)\/.*/\1/p' <<<"$last")
  printf '%-22s %-7s %14s %8s %8s %8s\n' "$target" "${status[$target]}" "${execs:-?}" "${cov:-?}" "${ft:-?}" "${corp:-?}"
  if [ "${status[$target]}" != ok ]; then
    grep -E 'invariant broken|ERROR|SUMMARY|Test unit written' "$log" | head -20 || tail -20 "$log"
  fi
done
echo "fuzzing took $(($(date +%s) - start)) s; the whole stage $(($(date +%s) - began)) s"
exit "$failed"
