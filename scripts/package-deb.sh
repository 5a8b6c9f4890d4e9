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
ls build/mirabo_*_amd64.deb
