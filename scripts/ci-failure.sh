# Sourced by the CI scripts after `set -euo pipefail`: when a failing command
# ends the script, print which one, where and with what status, on standard
# output and standard error, so that a log cut to either still says.
set -E
trap 'ci_status=$?
  if [[ $- == *e* ]]; then
    ci_said=$(printf "%s:%s: stopped by \"%s\" (status %s)" "${BASH_SOURCE[0]##*/}" "$LINENO" \
      "$BASH_COMMAND" "$ci_status")
    # Written to the open descriptors: reopening /dev/stderr would empty a
    # log file that takes both streams.
    printf "%s\n" "$ci_said"
    printf "%s\n" "$ci_said" >&2
  fi' ERR
