#!/usr/bin/env bash
# Installs the packages Mirabo builds with when they are missing, then builds
# the named targets in build/, configuring it first when it is new: shows the
# packages being installed and the build's progress (Ninja's [n/N] status),
# and prints nothing when all is in place and nothing needs building.
#   bash scripts/build-targets.sh TARGET...
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
if [ ! -f build/build.ninja ]; then
  echo "Configuring build/"
  log=$(mktemp)
  trap 'rm -f "$log"' EXIT
  if ! cmake -S . -B build -G Ninja >"$log" 2>&1; then
    cat "$log" >&2
    exit 1
  fi
fi
targets=()
for target in "$@"; do targets+=(--target "$target"); done
# A dry run first, so that a build with nothing to do stays silent.
plan=$(cmake --build build "${targets[@]}" -- -n)
if [ "$plan" != "ninja: no work to do." ]; then
  echo "Building ${*} in build/"
  cmake --build build -j "$(nproc)" "${targets[@]}"
fi
