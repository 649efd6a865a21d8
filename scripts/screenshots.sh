#!/bin/sh
# Regenerates the README screenshots from the offscreen platform, so they stay current.
# Usage: scripts/screenshots.sh [BUILD_DIR]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
cmake --build "$build" --target qmvvlt-screenshots
QT_QPA_PLATFORM=offscreen "$build/tools/screenshots/qmvvlt-screenshots" \
    "$config" "$root/data/samples/SampleProfile.xml" "$root/docs/screenshots"
