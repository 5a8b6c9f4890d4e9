#!/usr/bin/env bash
# A second start bringing the running copy to the front, with no clients,
# then 100 idle and 100 trickling clients on its socket (offscreen, a runtime
# folder of the run's own). Target: within one second.
#   bash bench/raise.sh [ROUNDS] [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-10}
build=${2:-build}
cmake --build "$build" --target raise_bench mirabo >/dev/null
"$build/bench/raise_bench" "$build/ui/mirabo" "$rounds" 100
