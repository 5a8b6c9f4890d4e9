#!/usr/bin/env bash
# Checks that the includes of the platform layer point one way: no file
# includes, directly or through others, a header whose own .h or .cpp includes
# it back. A header and its .cpp count as one file (x.h and x.cpp are "x").
# Prints the files from the bottom (included by others, including none of
# them) to the top, or the loop it found and exits with status 1.
#
#   bash scripts/check_include_order.sh [FOLDER]   (default: platform)
set -euo pipefail
cd "$(dirname "$0")/.."

folder="${1:-platform}"
edges=$(
  find "$folder" -name '*.h' -o -name '*.cpp' | sort | while read -r file; do
    unit="${file%.*}"
    echo "$unit $unit"
    sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file" |
      while read -r included; do
        case "$included" in
          "$folder"/*) [ "${included%.*}" = "$unit" ] || echo "$unit ${included%.*}" ;;
        esac
      done
  done
)

# tsort puts each includer before what it includes and fails on a loop.
if ! order=$(tsort <<<"$edges" 2>/dev/null); then
  echo "The includes of $folder/ go round in a loop:" >&2
  tsort <<<"$edges" 2>&1 >/dev/null | grep -v 'input contains a loop' | sed 's/^tsort: /  /' >&2
  exit 1
fi
tac <<<"$order"
