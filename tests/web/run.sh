#!/usr/bin/env bash
# The web app's tests in headless Chromium: installs Chromium and the test
# tools (npm ci) when they are missing, builds the site with scripts/web.sh
# --dist (or takes the one in MIRABO_WEB_SITE), and runs every test on it.
# --install-only stops after installing.
#   bash tests/web/run.sh [--install-only]
set -euo pipefail
cd "$(dirname "$0")"

bash ../../scripts/deps.sh chromium
# A node from elsewhere (NodeSource's) brings npm with it and refuses
# Debian's npm package.
command -v node >/dev/null || bash ../../scripts/deps.sh nodejs
command -v npm >/dev/null || bash ../../scripts/deps.sh npm
if [ ! -d node_modules ] || [ package-lock.json -nt node_modules ]; then
  npm ci --no-audit --no-fund --loglevel=error
fi
[ "${1:-}" = "--install-only" ] && exit 0
# The site as scripts/web.sh --dist writes it, unless MIRABO_WEB_SITE names one.
site=${MIRABO_WEB_SITE:-}
if [ -z "$site" ]; then
  site=$(mktemp -d)
  trap 'rm -rf "$site"' EXIT
  bash ../../scripts/web.sh --dist "$site" >/dev/null
fi
MIRABO_WEB_SITE=$site node --test --test-concurrency=1 web.test.mjs
