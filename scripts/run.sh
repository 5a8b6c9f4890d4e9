#!/usr/bin/env bash
# Installs what is missing, builds, and starts Mirabo. On a fresh machine it
# shows the packages being installed and the build's progress; once all is
# in place it starts the program without a word.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/build-targets.sh mirabo
exec build/ui/mirabo "$@"
