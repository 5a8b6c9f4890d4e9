#!/usr/bin/env bash
# What a screen reader reads of Mirabo, out of process: the desktop program on
# a virtual X display (Xvfb) in a session bus of its own with the desktop's
# accessibility bus, read and driven through AT-SPI by
# tests/accessibility/read_with_atspi.py, in Japanese and in English; then
# the same program with no accessibility bus at all, which must start and end
# as usual. Installs what it needs and builds first.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/ci-failure.sh"
cd "$(dirname "$0")/.."

if [ "${1:-}" != "--in-session" ]; then
  bash scripts/deps.sh at-spi2-core python3-pyatspi dbus-bin dbus-daemon xvfb xauth xdotool x11-utils
  bash scripts/build.sh >/dev/null
  exec timeout 180 dbus-run-session -- bash "$0" --in-session
fi

program="$PWD/build/ui/mirabo"
work=$(mktemp -d)
xvfb=""
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A display of its own, whichever number is free, that does not start over
# (and refuse whoever connects meanwhile) each time one run's program leaves.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { cat "$work/xvfb.log" >&2; echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
export XDG_RUNTIME_DIR="$work"

# Once in each language: the locale chooses it, and every name read is
# expected in it.
for run in "ja ja_JP.UTF-8" "en en_US.UTF-8"; do
  read -r language locale <<<"$run"
  echo "== Mirabo through the accessibility bus, LANG=$locale"
  env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG="$locale" \
    /usr/bin/python3 tests/accessibility/read_with_atspi.py "$program" "$language"
done

echo "== Mirabo with no accessibility bus"
env -u AT_SPI_BUS_ADDRESS DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus" \
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$program" &
pid=$!
window=$(timeout 10 xdotool search --sync --name '^Mirabo for PocketPC$' | head -n1)
# The desktop's icon of the window: every size, the large ones following the
# first frame, each a whole picture: opaque black corners, the red disc at the
# top left, the yellow triangle at the bottom right.
sizes=""
for _ in $(seq 50); do
  sizes=$(xprop -len 10000000 -id "$window" -f _NET_WM_ICON 32x ' = $0+\n' _NET_WM_ICON |
    python3 -c '
import sys
v = [int(x, 16) for x in sys.stdin.read().split("=", 1)[1].replace(",", " ").split()]
out, i = [], 0
while i + 2 <= len(v):
    w, h = v[i], v[i + 1]
    p = v[i + 2:i + 2 + w * h]
    if w == 0 or len(p) != w * h: sys.exit("a cut-off picture")
    at = lambda x, y: p[y * w + x]
    seen = [p[0], p[w - 1], p[(h - 1) * w], p[-1], at(w // 4, h // 4), at(w * 3 // 4 - 1, h * 3 // 4 - 1)]
    if seen != [0xff000000] * 4 + [0xffff0000, 0xffffff00]:
        sys.exit("%dx%d: corners, red disc, yellow triangle %s" % (w, h, [hex(c) for c in seen]))
    out.append("%dx%d" % (w, h))
    i += 2 + w * h
print(" ".join(out))
' 2>&1 || true)
  [ "$sizes" = "16x16 24x24 32x32 48x48 64x64 128x128 256x256" ] && break
  sleep 0.1
done
[ "$sizes" = "16x16 24x24 32x32 48x48 64x64 128x128 256x256" ] ||
  { kill "$pid"; echo "FAIL: the window's icon is $sizes" >&2; exit 1; }
echo "its window's icon comes in $sizes"
xdotool windowfocus --sync "$window" key ctrl+q
status=0
timeout 10 tail --pid="$pid" -f /dev/null || { kill "$pid"; echo "FAIL: Ctrl+Q did not end it" >&2; exit 1; }
wait "$pid" || status=$?
if [ "$status" -ne 0 ]; then
  echo "FAIL: it ended with exit code $status" >&2
  exit 1
fi
echo "started, showed its window and ended with Ctrl+Q, exit code 0"
