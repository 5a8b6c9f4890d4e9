#!/usr/bin/env bash
# Installs what is missing, builds, and starts Mirabo.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/build.sh >/dev/null
exec build/ui/mirabo "$@"
