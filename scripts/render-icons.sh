#!/usr/bin/env bash
# Renders the application icon's PNG sizes from data/icons/app.svg into the hicolor layout under
# data/icons/hicolor. Run it after changing the artwork and commit the result; the build does not
# need the renderer (Debian package librsvg2-bin).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
for size in 16 22 24 32 48 64 128 256; do
  out="$root/data/icons/hicolor/${size}x${size}/apps"
  mkdir -p "$out"
  rsvg-convert -w "$size" -h "$size" "$root/data/icons/app.svg" -o "$out/qmvvlt.png"
done
