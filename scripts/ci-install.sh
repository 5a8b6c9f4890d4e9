#!/usr/bin/env bash
# CI stage: Mirabo as a user installs it. Builds the Debian package, lints it,
# installs it with apt, runs mirabo-calc from the PATH and starts mirabo under
# a private Xvfb until its window maps, checks the menu entry, the metainfo,
# the manual pages and the completion, then removes the package and checks
# that nothing of it is left.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/ci-failure.sh"
cd "$(dirname "$0")/.."
start=$SECONDS
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
fail() {
  echo "ci-install: $*" >&2
  exit 1
}

deb=$(bash scripts/package-deb.sh | tail -n 1)
bash scripts/deps.sh desktop-file-utils appstream lintian xvfb xauth x11-utils
echo "Package: $deb"
dpkg-deb --field "$deb" Depends

# Errors fail the stage; warnings and notes are shown.
status=0
report=$(lintian --fail-on error --display-info "$deb" 2>&1) || status=$?
printf '%s\n' "$report" | grep -v '^running with root privileges' || true
[ "$status" -eq 0 ] || fail "lintian found errors"

# The package's files (not its directories), as installed paths.
mapfile -t files < <(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\.||')
desktop=$(printf '%s\n' "${files[@]}" | grep '^/usr/share/applications/.*\.desktop$')
metainfo=$(printf '%s\n' "${files[@]}" | grep '^/usr/share/metainfo/.*\.metainfo\.xml$')
id=$(basename "$desktop" .desktop)

DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$(realpath "$deb")" >/dev/null
for f in "${files[@]}"; do [ -e "$f" ] || fail "not installed: $f"; done

# mirabo-calc from the PATH, run from elsewhere.
[ "$(command -v mirabo-calc)" = /usr/bin/mirabo-calc ] || fail "mirabo-calc is not /usr/bin/mirabo-calc"
expected=$'a=3.000\nb=4.000\nc=5.000\nalpha=53.130\nbeta=36.870'
[ "$(cd / && mirabo-calc right a=3 b=4)" = "$expected" ] || fail "mirabo-calc right a=3 b=4 gave a wrong answer"
echo "mirabo-calc right a=3 b=4: right"

# The menu entry and the metainfo; the entry's id names the metainfo and icon.
desktop-file-validate "$desktop"
appstreamcli validate --no-net "$metainfo"
grep -qx "Icon=$id" "$desktop" || fail "the menu entry's icon is not $id"
grep -q "<id>$id</id>" "$metainfo" || fail "the metainfo's id is not $id"
for size in 16 24 32 48 64 128 256; do
  [ -f "/usr/share/icons/hicolor/${size}x${size}/apps/$id.png" ] || fail "no $size px icon"
done

# The manual pages open, and the completion offers the fields.
for page in mirabo mirabo-calc; do
  zcat "/usr/share/man/man1/$page.1.gz" | grep -q "^\.TH \"$page\" \"1\"" || fail "manual page $page(1)"
done
offered=$(bash -c 'source /usr/share/bash-completion/completions/mirabo-calc
  COMP_LINE="mirabo-calc ohm V=1 "; COMP_POINT=${#COMP_LINE}; _mirabo_calc; echo "${COMPREPLY[*]}"')
[ "$offered" = "I= R= P=" ] || fail "completion after 'mirabo-calc ohm V=1' offered '$offered'"

# mirabo from the PATH until its window maps, with the class the entry names
# and its icon up to 256 pixels.
runtime=$(mktemp -d)
# A display no other X server holds (its lock file or socket would say so).
number=$((90 + RANDOM % 100))
while [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ]; do number=$((number + 1)); done
display=:$number
# -noreset: the server would otherwise start over when its last client (the
# readiness check) leaves, and refuse a program connecting at that moment.
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
program=""
trap 'kill $program $xvfb 2>/dev/null || true; rm -rf "$runtime"' EXIT
export DISPLAY=$display
for _ in $(seq 100); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done
xwininfo -root >/dev/null 2>&1 || fail "Xvfb did not start on $display"
(cd / && XDG_RUNTIME_DIR=$runtime exec mirabo) &
program=$!
window=""
for _ in $(seq 200); do
  window=$(xwininfo -root -tree 2>/dev/null | awk '/"Mirabo for PocketPC"/ {print $1; exit}')
  if [ -n "$window" ] && xwininfo -id "$window" | grep -q 'Map State: IsViewable'; then break; fi
  window=""
  sleep 0.1
done
[ -n "$window" ] || fail "the installed mirabo mapped no window within 20 s"
echo "mirabo: window $window mapped"
class=$(xprop -id "$window" WM_CLASS | sed 's/.*, "\(.*\)"$/\1/')
grep -qx "StartupWMClass=$class" "$desktop" || fail "window class $class is not the entry's StartupWMClass"
# The large icons follow the window's first frame.
icon=""
for _ in $(seq 50); do
  if xprop -len 1000000 -id "$window" _NET_WM_ICON | grep -q 'Icon (256 x 256)'; then icon=yes; break; fi
  sleep 0.1
done
[ -n "$icon" ] || fail "no 256 px window icon"
kill "$program"
wait "$program" 2>/dev/null || true
program=""

# Removal leaves nothing of the package behind.
DEBIAN_FRONTEND=noninteractive $sudo apt-get purge -y -qq mirabo >/dev/null
for f in "${files[@]}" /usr/share/doc/mirabo; do [ ! -e "$f" ] || fail "left after removal: $f"; done
! dpkg-query -W -f='${Status}' mirabo 2>/dev/null | grep -q installed || fail "mirabo still installed"
echo "ci-install: installed, ran and removed $(basename "$deb") in $((SECONDS - start)) s"
