#!/usr/bin/env bash
# Rasterises graphotheque.svg into the PNG sizes that are committed beside it.
# The build only copies the PNGs; run this by hand after changing the SVG.
# Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 24 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" graphotheque.svg --output "graphotheque-$size.png"
done
