#!/usr/bin/env bash
# Start-up of Mirabo as a user sees it, against a plain Qt 6 label program:
# the time from exec to the first window mapped and to the screen settled (the
# last update before it stays quiet), and the peak RSS, interleaved, under a
# private Xvfb server and a private session bus, printed as medians of
# per-round ratios. Targets: mapped within 1.20x the label, settled within
# 1.10x, peak RSS within 2 MB of it.
#   bash bench/startup.sh [ROUNDS] [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-20}
build=${2:-build}
bash scripts/deps.sh xvfb libxdamage-dev dbus-daemon dbus-bin >/dev/null
cmake --build "$build" --target bare_label measure_startup mirabo >/dev/null

# A runtime folder of the run's own, so that no copy of Mirabo already running
# for this user answers in place of the one measured.
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$XDG_RUNTIME_DIR/display" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$XDG_RUNTIME_DIR"' EXIT
for _ in $(seq 100); do [ -s "$XDG_RUNTIME_DIR/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$XDG_RUNTIME_DIR/display")"
# Both programs in the same session bus, as on a desktop; the bus's own
# complaint about its file limit is of no interest here.
dbus-run-session -- "$build/bench/measure_startup" --rounds "$rounds" \
  "$build/bench/bare_label" "$build/ui/mirabo" 2> >(grep -v 'Failed to set fd limit' >&2)
