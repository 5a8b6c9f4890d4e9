#!/usr/bin/env bash
# The web app: installs what is missing, builds the calculators to WebAssembly
# in build-web/page/ and the page's data from the compiled resources (build/),
# puts the site together in build-web/site/, and serves it on
# http://127.0.0.1:8080/ (PORT to change that). With --dist DIR it writes the
# static site into DIR instead, for any static host.
#   bash scripts/web.sh [--dist DIR]
set -euo pipefail
cd "$(dirname "$0")/.."

dist=""
case "${1:-}" in
  "") ;;
  --dist)
    [ -n "${2:-}" ] || { echo "usage: bash scripts/web.sh [--dist DIR]" >&2; exit 64; }
    dist=$2 ;;
  *) echo "usage: bash scripts/web.sh [--dist DIR]" >&2; exit 64 ;;
esac

bash scripts/deps.sh
bash scripts/deps.sh emscripten libfast-float-dev libfmt-dev
command -v node >/dev/null || bash scripts/deps.sh nodejs
bash scripts/build-targets.sh mirabo_web_data

# Debian's emscripten runs its JavaScript tools with the node on the PATH,
# which finds acorn and its kin only in Debian's module folder.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
# The page's module is built in a WebAssembly build of its own, below
# build-web/ where the command-line tool's build (scripts/ci-web.sh) lives,
# so that neither changes the other's settings.
module_build=build-web/page
if [ ! -f "$module_build/build.ninja" ]; then
  echo "Configuring $module_build/"
  log=$(mktemp)
  trap 'rm -f "$log"' EXIT
  if ! emcmake cmake -S . -B "$module_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DMIRABO_DESKTOP=OFF -DMIRABO_TESTS=OFF -DMIRABO_BENCH=OFF >"$log" 2>&1; then
    cat "$log" >&2
    exit 1
  fi
fi
cmake --build "$module_build" -j "$(nproc)" --target mirabo_web

site=build-web/site
rm -rf "$site.new"
mkdir -p "$site.new/icons"
cp web/site/* "$site.new/"
cp "$module_build/web/module/mirabo_web.wasm" "$site.new/mirabo.wasm"
build/web/mirabo_web_data "$site.new"
cp res/icons/*.png res/icons/scalable.svg "$site.new/icons/"
# The service worker's store is named after everything else in the site.
version=$(cd "$site.new" && find . -type f ! -name sw.js | LC_ALL=C sort | xargs sha256sum | sha256sum | cut -c1-16)
sed -i "s/^const STORE = \"mirabo\";/const STORE = \"mirabo-$version\";/" "$site.new/sw.js"
grep -q "^const STORE = \"mirabo-$version\";" "$site.new/sw.js"
rm -rf "$site"
mv "$site.new" "$site"

if [ -n "$dist" ]; then
  mkdir -p "$dist"
  cp -r "$site/." "$dist/"
  echo "The site is in $dist"
  exit 0
fi
exec node web/serve.mjs "$site" "${PORT:-8080}"
