#!/usr/bin/env bash
# Start-up of Mirabo against a bare Qt 6 label program, interleaved, under a
# private Xvfb server. Targets: Mirabo within 1.15x the bare program's time to
# its first mapped window, and at most 32 MB peak RSS.
#   bash bench/startup.sh [ROUNDS] [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-20}
build=${2:-build}
cmake --build "$build" --target bare_label measure_startup >/dev/null
programs=("$build/bench/bare_label")
[ -x "$build/ui/mirabo" ] && programs+=("$build/ui/mirabo")

# A runtime folder of the run's own, so that no copy of Mirabo already running
# for this user answers in place of the one measured.
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$XDG_RUNTIME_DIR"' EXIT
sleep 1
DISPLAY=$display "$build/bench/measure_startup" "$rounds" "${programs[@]}"
