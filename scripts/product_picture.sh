#!/usr/bin/env bash
# Draws the product picture (splash, About window, desktop icon): a hotel under a crescent moon on a
# night-blue square. Square, 256 pixels; written to src/tools/images/tomarina.png.
set -euo pipefail
cd "$(dirname "$0")/.."
out=src/tools/images/tomarina.png
convert -size 256x256 xc:none \
  -fill '#1d3f73' -draw 'roundrectangle 0,0 255,255 40,40' \
  -fill '#2c5b9e' -draw 'roundrectangle 0,150 255,255 40,40' -draw 'rectangle 0,150 255,200' \
  -fill '#ffe08a' -draw 'circle 196,58 196,82' \
  -fill '#1d3f73' -draw 'circle 208,50 208,72' \
  -fill '#ffffff' -draw 'circle 40,44 40,47' -draw 'circle 78,26 78,28' -draw 'circle 150,30 150,32' \
  -fill '#c8372d' -draw 'rectangle 52,82 204,98' \
  -fill '#c8372d' -draw 'roundrectangle 104,40 152,78 6,6' \
  -fill '#ffffff' -draw 'rectangle 115,48 121,70' -draw 'rectangle 135,48 141,70' -draw 'rectangle 121,56 135,62' \
  -fill '#f4f1ea' -draw 'rectangle 62,98 194,222' \
  -fill '#ffd54a' \
  -draw 'rectangle 78,110 100,128' -draw 'rectangle 117,110 139,128' -draw 'rectangle 156,110 178,128' \
  -draw 'rectangle 78,140 100,158' -draw 'rectangle 117,140 139,158' -draw 'rectangle 156,140 178,158' \
  -draw 'rectangle 78,170 100,188' -draw 'rectangle 156,170 178,188' \
  -fill '#7a4a2a' -draw 'rectangle 114,184 142,222' \
  -fill '#ffd54a' -draw 'rectangle 119,190 137,200' \
  -fill '#3f8f4f' -draw 'rectangle 30,222 226,232' \
  -strip "PNG32:$out"
echo "$out"
