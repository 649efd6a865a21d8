#!/usr/bin/env bash
# The manual pages render with man without a warning from groff.
#   check-manpage-render.sh PAGE...
set -euo pipefail
command -v man >/dev/null || exit 77
fail=0
for page in "$@"; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  if [ -n "$warnings" ]; then
    echo "$page:"
    echo "$warnings"
    fail=1
  fi
done
exit $fail
