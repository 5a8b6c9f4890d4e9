#!/usr/bin/env bash
# Installs what is missing, builds, and starts Mirabo. Arguments go to the
# program; until the desktop program is built, that is mirabo-calc, e.g.
#   bash scripts/run.sh right a=3 b=4
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/build.sh >/dev/null
if [ -x build/ui/mirabo ]; then
  exec build/ui/mirabo "$@"
fi
if [ $# -eq 0 ]; then
  set -- --help
fi
exec build/cli/mirabo-calc "$@"
