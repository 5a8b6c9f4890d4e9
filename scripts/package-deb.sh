#!/usr/bin/env bash
# Makes the Debian package build/mirabo_VERSION_amd64.deb: installs what the
# build and the packaging need, builds the two programs and the files they
# install in build/, and has CPack put them together, with the dependencies
# that dpkg-shlibdeps finds in the programs. Prints the package's path last.
#   bash scripts/package-deb.sh && sudo apt install ./build/mirabo_*_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh dpkg-dev file
bash scripts/build-targets.sh installable
rm -f build/mirabo_*_amd64.deb
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! cpack --config build/CPackConfig.cmake -B build >"$log" 2>&1; then
  cat "$log" >&2
  exit 1
fi

# CPack stamps every member with the time it ran: the package is built again
# by dpkg-deb from what CPack put in it, every file with the time of the last
# commit (SOURCE_DATE_EPOCH when set), the modes as they are less group and
# others' write, owned by root, in dpkg-deb's sorted order. The same commit
# gives the same package, wherever and whenever it is built.
deb=$(ls build/mirabo_*_amd64.deb)
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}
tree=$(mktemp -d)
trap 'rm -f "$log"; rm -rf "$tree"' EXIT
dpkg-deb -R "$deb" "$tree/root"
chmod -R go-w "$tree/root"
find "$tree/root" -exec touch -h -d "@$epoch" {} +
rm -f "$deb"
SOURCE_DATE_EPOCH=$epoch dpkg-deb --root-owner-group -Zxz --build "$tree/root" "$deb" >/dev/null
ls "$deb"
