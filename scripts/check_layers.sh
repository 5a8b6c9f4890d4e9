#!/usr/bin/env bash
# Checks that the includes of the whole tree point one way, from the front
# ends down to the core:
#
#   ui/  cli/  platform/        the front ends and the program's Win32 layer
#   resfile/  text/             reading compiled resources; text conversions
#   calc/  res/                 the core; the resources' identifiers
#
# Each folder's includes stay within what the table below lets it reach (ui/
# reaches into platform/ through platform/win32.h alone); inside platform/ the
# files include one another one way (scripts/check_include_order.sh). Tests,
# tools, benchmarks and fuzz targets may include anything. Prints each include
# that breaks the rules and exits with status 1.
#
#   bash scripts/check_layers.sh
set -euo pipefail
cd "$(dirname "$0")/.."

# folder: the folders its files may include from (besides its own).
declare -A allowed=(
  [calc]="res"
  [text]=""
  [resfile]="res"
  [res]=""
  [cli]="calc res resfile text"
  [platform]="res resfile text"
  [ui]="calc res platform/win32.h"
)

status=0
for folder in "${!allowed[@]}"; do
  [ -d "$folder" ] || continue
  while IFS=: read -r file line included; do
    top="${included%%/*}"
    [ "$top" = "$folder" ] && continue
    ok=false
    for target in ${allowed[$folder]}; do
      if [ "$included" = "$target" ] || [ "$top" = "$target" ]; then ok=true; fi
    done
    if ! $ok; then
      echo "$file:$line includes $included, which $folder/ may not reach" >&2
      status=1
    fi
  done < <(grep -rn --include='*.h' --include='*.cpp' -o '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]*/[^"]*"' "$folder" |
           sed 's/^\([^:]*\):\([0-9]*\):.*"\(.*\)"/\1:\2:\3/')
done
bash scripts/check_include_order.sh platform >/dev/null || status=1
exit $status
