#!/usr/bin/env bash
# The web app's benchmark in headless Chromium (bench/web/bench.mjs), beside
# the desktop program's start-up (bench/startup.sh) measured in the same run.
# Builds the site first (scripts/web.sh --dist).
#   bash bench/web/run.sh [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/../.."
rounds=${1:-20}
site=$(mktemp -d)
trap 'rm -rf "$site"' EXIT
bash scripts/web.sh --dist "$site" >/dev/null
bash tests/web/run.sh --install-only
echo "== The web app"
MIRABO_WEB_SITE=$site node bench/web/bench.mjs "$rounds"
echo "== The desktop program"
bash scripts/build-targets.sh mirabo >/dev/null
bash bench/startup.sh "$rounds"
