#!/usr/bin/env bash
# A program's --help and --version agree with its manual page: the same options (and, for a
# program with commands, the same commands), and the same version (the desktop program shows its
# display name before it).
#   check-manpage-options.sh PROGRAM MANPAGE VERSION
set -euo pipefail
program=$1 page=$2 version=$3
name=$(basename "$program")

# Options are words starting with - or -- after a space, bracket or bar; words such as
# "qmvvlt-cli" or "-1" are not.
options() { grep -oE '(^|[][ |(,])--?[a-z][a-z0-9-]*' | sed -E 's/^[][ |(,]//' | sort -u; }
# The page up to its exit status: the synopsis, options and commands, not the examples.
page_text() { sed -e '/^\.SH EXIT STATUS/,$d' "$page" | sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g'; }

help=$("$program" --help)
fail=0
if ! diff <(options <<<"$help") <(page_text | options) >/tmp/$$.diff; then
  echo "$name: options differ between --help (<) and $page (>):"
  cat /tmp/$$.diff
  fail=1
fi
rm -f /tmp/$$.diff

# Commands: the first word of each line after "commands:" in --help, and of each item of the
# page's COMMANDS section.
help_commands=$(sed -n '/^commands:/,$p' <<<"$help" | awk 'NR > 1 && /^  [^ ]/ { print $1 }' | sort)
page_commands=$(sed -n '/^\.SH COMMANDS/,/^\.SH /p' "$page" | sed -e 's/\\-/-/g' |
  awk 'prev == ".TP" { gsub(/"/, "", $2); print $2 } { prev = $1 }' | sort)
if [ "$help_commands" != "$page_commands" ]; then
  echo "$name: commands differ: --help has [$help_commands], $page has [$page_commands]"
  fail=1
fi

shown=$("$program" --version)
if [ "$(wc -l <<<"$shown")" -ne 1 ] || [ "${shown% "$version"}" = "$shown" ]; then
  echo "$name: --version says '$shown', expected one line ending in '$version'"
  fail=1
fi
if ! grep -q "^\.TH .*\"qmvvlt $version\"" "$page"; then
  echo "$name: $page does not carry version $version"
  fail=1
fi
exit $fail
