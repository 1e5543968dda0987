#!/usr/bin/env bash
# Renders the hand-drawn SVG icons into the PNGs the program carries, so the
# program needs no SVG support at run time. Run it after changing an SVG and
# commit the PNGs with it. Needs rsvg-convert (Debian: librsvg2-bin).
#
# At 16 pixels an icon uses its <name>_16.svg when there is one: a redrawing
# with fewer, pixel-aligned strokes, because the full drawing shrunk to 16
# pixels turns to mush.
#
# The browser page installs as an app with the program's icon at 192 and 512
# pixels (Chromebook shelf, Android, Windows) and at 180 pixels for an iPad's
# home screen. iPadOS fills transparent pixels with black and rounds the
# corners itself, so that one is drawn on the tile's own colour.
set -euo pipefail
cd "$(dirname "$0")/icons"
mkdir -p png
for name in rotation rubber_cord springlab; do
    for size in 16 24 32 48 64 128; do
        source="$name.svg"
        if [ "$size" -eq 16 ] && [ -f "${name}_16.svg" ]; then
            source="${name}_16.svg"
        fi
        rsvg-convert --width "$size" --height "$size" "$source" --output "png/$name-$size.png"
    done
done
for size in 192 512; do
    rsvg-convert --width "$size" --height "$size" springlab.svg --output "png/springlab-$size.png"
done
rsvg-convert --width 180 --height 180 --background-color '#eef3ff' springlab.svg --output png/springlab-touch-180.png
