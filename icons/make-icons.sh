#!/usr/bin/env bash
# Renders the icon's PNG sizes from lurvendel.svg (Debian package librsvg2-bin). The build
# never runs this; the PNGs are committed.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 32 48 256; do
  rsvg-convert -w "$size" -h "$size" lurvendel.svg -o "lurvendel-$size.png"
done
