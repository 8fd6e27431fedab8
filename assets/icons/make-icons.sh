#!/usr/bin/env bash
# Renders the program's icon at the sizes the desktop's icon theme installs.
# Run after changing tarifon.svg (needs rsvg-convert from librsvg2-bin) and commit the pictures.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" tarifon.svg -o "tarifon-$size.png"
done
