#!/usr/bin/env bash
# Installs the packages Mirabo builds with when they are missing, then builds
# the named targets in build/, configuring it first when it is new: shows the
# packages being installed and the build's progress (Ninja's [n/N] lines, as
# one line that counts up on a terminal), and prints nothing when all is in
# place and nothing needs building.
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
terminal=0
[ -t 1 ] && terminal=1
# Ninja's lines for a build with nothing to do are dropped; everything else
# (progress, compiler messages) is shown, under one heading.
cmake --build build -j "$(nproc)" "${targets[@]}" | awk -v terminal="$terminal" -v heading="Building $* in build/" '
  /^\[0\/[0-9]+\] Re-checking globbed directories/ || /^ninja: no work to do\.$/ { next }
  !headed { print heading; headed = 1 }
  terminal && /^\[[0-9]+\/[0-9]+\] / { printf "\r\033[K%s", substr($0, 1, 79); counting = 1; fflush(); next }
  { if (counting) printf "\n"; counting = 0; print; fflush() }
  END { if (counting) printf "\n" }'
