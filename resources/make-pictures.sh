#!/bin/sh
# Draws the program's pictures with ImageMagick: the icon (a piece of the strip with one lit light
# between two dark ones) and the emblem on the Options dialog (a lit light on a small plate).
# Usage: resources/make-pictures.sh   (writes into resources/)
set -eu
cd "$(dirname "$0")"
icon() { # size output
  convert -size 64x64 xc:none \
    -fill '#808080' -draw 'roundrectangle 2,22 61,41 2,2' \
    -fill '#000000' -draw 'rectangle 4,24 59,39' \
    -fill '#221111' -draw 'circle 12,32 18,32' -fill '#550000' -draw 'circle 12,32 16,32' \
    -fill '#800000' -draw 'circle 32,32 38,32' -fill '#ff0000' -draw 'circle 32,32 36,32' \
    -fill '#ffffff' -draw 'circle 30,30 31.5,30' \
    -fill '#221111' -draw 'circle 52,32 58,32' -fill '#550000' -draw 'circle 52,32 56,32' \
    -resize "$1x$1" "$2"
}
icon 64 tarniva.png
convert -size 34x42 xc:'#000000' \
  -fill '#404040' -draw 'roundrectangle 0,0 33,41 4,4' \
  -fill '#000000' -draw 'roundrectangle 3,3 30,38 3,3' \
  -fill '#800000' -draw 'circle 17,15 17,5' -fill '#ff0000' -draw 'circle 17,15 17,8' \
  -fill '#ffffff' -draw 'circle 14,12 14,10' \
  -fill '#ffff00' -draw 'rectangle 7,30 26,32' -fill '#00ffff' -draw 'rectangle 7,34 26,35' \
  PNG24:emblem.png
