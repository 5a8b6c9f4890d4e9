#!/usr/bin/env bash
# Configures and builds Mirabo. With --sanitize, a separate AddressSanitizer and
# UndefinedBehaviorSanitizer build in build-asan/.
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build
flags=()
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan
  flags+=(-DMIRABO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
fi
bash scripts/deps.sh
cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)"
echo "$dir"
