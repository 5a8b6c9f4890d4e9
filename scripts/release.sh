#!/usr/bin/env bash
# Builds every release file of the checked-out commit into out/, and their
# checksums into out/SHA256SUMS:
#   mirabo_VERSION_amd64.deb               the Debian package (scripts/package-deb.sh)
#   mirabo-VERSION-windows-x64.zip         (scripts/package-windows.sh)
#   mirabo-VERSION-windows-x64-setup.exe
#   mirabo-VERSION.tar.gz                  the sources (git archive)
# Built twice from the same commit, in any two folders, the files are the same
# byte for byte: times come from the commit (SOURCE_DATE_EPOCH), no build path
# is compiled in, archives are sorted with fixed modes and owners.
#   bash scripts/release.sh && (cd out && sha256sum -c SHA256SUMS)
# Build in a clean clone: objects that ccache made with CCACHE_BASEDIR name
# their sources relative to the build folder in their debug information, which
# changes the Linux programs' build IDs; this script asks ccache for nothing.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  echo "release.sh: the working tree has changes that are not committed; release files come from a commit" >&2
  exit 1
fi
umask 022
unset CCACHE_BASEDIR CMAKE_CXX_COMPILER_LAUNCHER CMAKE_C_COMPILER_LAUNCHER
export TZ=UTC
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH
version=$(sed -n 's/^project(Mirabo VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
mkdir -p out

bash scripts/package-deb.sh >/dev/null
cp "build/mirabo_${version}_amd64.deb" out/
bash scripts/package-windows.sh >/dev/null
git archive --format=tar.gz --prefix="mirabo-$version/" -o "out/mirabo-$version.tar.gz" HEAD

files=("mirabo_${version}_amd64.deb" "mirabo-$version-windows-x64.zip"
       "mirabo-$version-windows-x64-setup.exe" "mirabo-$version.tar.gz")
(cd out && sha256sum "${files[@]}" >SHA256SUMS && cat SHA256SUMS)
