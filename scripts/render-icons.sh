#!/usr/bin/env bash
# Renders the window icon's PNG sizes from its SVG source. Run after editing
# app/icons/manacalc.svg; the PNGs are committed, so builds never need this.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v rsvg-convert >/dev/null; then
    echo "render-icons: needs rsvg-convert (Debian: apt-get install librsvg2-bin)" >&2
    exit 1
fi
for size in 16 32 48 64 128; do
    rsvg-convert -w "$size" -h "$size" app/icons/manacalc.svg -o "app/icons/manacalc-$size.png"
done
