#!/bin/sh
# Renders the window icon's 16, 32 and 48 pixel images from kalventa.svg, and the
# 192 and 512 pixel ones that the browser edition's manifest offers for installing.
# Run it after changing the drawing and commit the images with it; the build
# does not render them. Needs rsvg-convert (Debian: librsvg2-bin).
set -eu
cd "$(dirname "$0")"
for size in 16 32 48 192 512; do
    rsvg-convert --width "$size" --height "$size" --output "kalventa-$size.png" kalventa.svg
done
