#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (ctest). With
# --sanitize, the same tests in the sanitizer build.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/ci-failure.sh"
cd "$(dirname "$0")/.."

bash scripts/build.sh "$@"
dir=build
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
