#!/bin/sh
# Starts the desktop program offscreen in each language and saves its screenshots for review, one
# folder per language key, so translations can be checked for cut or overlapping labels.
# Usage: scripts/language-screenshots.sh OUTPUT_DIR [BUILD_DIR]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
output=${1:?usage: $0 OUTPUT_DIR [BUILD_DIR]}
build=${2:-$root/build}
case "$(cd "$(dirname "$output")" 2>/dev/null && pwd)/" in
  "$root"/*) echo "$0: keep the screenshots out of the source tree" >&2; exit 1 ;;
esac
cmake --build "$build" --target qmvvlt-screenshots qmvvlt-cli
for language in English CaFrench French German LaPortuguese LaSpanish Spanish; do
  config=$(mktemp -d)
  "$build/src/cli/qmvvlt-cli" --config "$config" config CurrentLanguage "$language" >/dev/null
  QT_QPA_PLATFORM=offscreen "$build/tools/screenshots/qmvvlt-screenshots" \
      "$config" "$root/data/samples/SampleProfile.xml" "$output/$language" --review >/dev/null
  rm -rf "$config"
  echo "$output/$language"
done
