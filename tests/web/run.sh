#!/usr/bin/env bash
# The web app's tests in headless Chromium: installs Chromium and the test
# tools (npm ci) when they are missing, then runs every test against the site
# in build-web/site (MIRABO_WEB_SITE to test another folder); scripts/web.sh
# --dist builds it.
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
site=${MIRABO_WEB_SITE:-../../build-web/site}
if [ ! -f "$site/index.html" ]; then
  echo "tests/web/run.sh: no site in $site; build it with bash scripts/web.sh --dist DIR or bash scripts/web.sh" >&2
  exit 1
fi
MIRABO_WEB_SITE=$site exec node --test --test-concurrency=1 web.test.mjs
