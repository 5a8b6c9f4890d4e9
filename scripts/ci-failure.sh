# Sourced by the CI scripts after `set -euo pipefail`: when a failing command
# ends the script, print which one, where and with what status, on standard
# output and standard error, so that a log cut to either still says.
set -E
trap 'ci_status=$?
  if [[ $- == *e* ]]; then
    printf "%s:%s: stopped by \"%s\" (status %s)\n" "${BASH_SOURCE[0]##*/}" "$LINENO" \
      "$BASH_COMMAND" "$ci_status" | tee /dev/stderr
  fi' ERR
