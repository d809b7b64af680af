#!/bin/sh
# Draws the program's icon: a piece of the strip with one lit light between two dark ones.
# Needs ImageMagick. Usage: resources/make-icon.sh SIZE OUTPUT.png
set -eu
size=$1 out=$2
convert -size 64x64 xc:none \
  -fill '#808080' -draw 'roundrectangle 2,22 61,41 2,2' \
  -fill '#000000' -draw 'rectangle 4,24 59,39' \
  -fill '#221111' -draw 'circle 12,32 18,32' -fill '#550000' -draw 'circle 12,32 16,32' \
  -fill '#800000' -draw 'circle 32,32 38,32' -fill '#ff0000' -draw 'circle 32,32 36,32' \
  -fill '#ffffff' -draw 'circle 30,30 31.5,30' \
  -fill '#221111' -draw 'circle 52,32 58,32' -fill '#550000' -draw 'circle 52,32 56,32' \
  -resize "${size}x${size}" "$out"
