#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Re-makes the application icon PNGs in png/ from the SVGs next to this script.
# Run it after editing an SVG, then commit the PNGs (building never needs rsvg-convert).
#   16 px      <- vantrel-16.svg (drawn on the 16 px grid)
#   22, 24 px  <- vantrel-24.svg (22 px crops the drawing's 1 px margin, so it stays on the grid)
#   32..256 px <- vantrel.svg
# The file-type icons need no PNGs: install *-16.svg as the 16x16 size and the rest as scalable.
# Needs rsvg-convert (Debian: librsvg2-bin) and file; uses optipng when it is installed.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
out=$here/png

for tool in rsvg-convert file; do
    command -v "$tool" >/dev/null || { echo "render.sh: $tool is missing" >&2; exit 1; }
done

# The SVGs must stay self-contained: no bitmaps, links, text or editor metadata.
for svg in "$here"/*.svg; do
    if grep -Eiq '<(image|text|script|style|metadata)\b|href=|sodipodi:|inkscape:' "$svg"; then
        echo "render.sh: $(basename "$svg") holds an image, link, text or editor metadata" >&2
        exit 1
    fi
    if command -v xmllint >/dev/null; then
        xmllint --noout "$svg"
    fi
done

mkdir -p "$out"

render() { # size source [extra rsvg-convert options...]
    local size=$1 src=$2
    shift 2
    local png=$out/vantrel-$size.png
    rsvg-convert --keep-aspect-ratio "$@" -o "$png" "$here/$src"
    if command -v optipng >/dev/null; then
        optipng -quiet -o5 -nx -strip all "$png"   # -nx keeps it RGBA
    fi
    local info
    info=$(file -b "$png")
    case $info in
        "PNG image data, $size x $size, 8-bit/color RGBA"*) echo "vantrel-$size.png  $info" ;;
        *) echo "render.sh: vantrel-$size.png came out as: $info" >&2; exit 1 ;;
    esac
}

render 16 vantrel-16.svg -w 16 -h 16
render 22 vantrel-24.svg -w 24 -h 24 --page-width 22 --page-height 22 --left=-1 --top=-1
render 24 vantrel-24.svg -w 24 -h 24
for size in 32 48 64 128 256; do
    render "$size" vantrel.svg -w "$size" -h "$size"
done
