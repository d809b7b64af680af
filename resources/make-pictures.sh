#!/bin/sh
# Draws the program's pictures with ImageMagick: the icon (a piece of the strip with one lit light
# between two dark ones) at every size of the desktop's icon theme, and the emblem on the Options
# dialog (a lit light on a small plate). tarniva.svg is the same icon, drawn by hand in the same
# 64-unit coordinates, for the theme's scalable size.
# Usage: resources/make-pictures.sh   (writes into resources/)
set -eu
cd "$(dirname "$0")"
# PNG files without a time stamp, so drawing again gives the same bytes: png OUTPUT CONVERT-ARGS...
png() {
  out=$1
  shift
  convert "$@" -strip -define png:exclude-chunks=date,time "$out"
}

# The icon is drawn large and scaled down, so every size gets smooth edges. ImageMagick puts pixel
# centres on whole numbers; the shift makes the numbers mean the same as in the SVG.
large=$(mktemp --suffix=.png)
trap 'rm -f "$large"' EXIT
convert -size 1024x1024 xc:none -draw 'translate -0.5,-0.5 scale 16,16
    fill "#808080" roundrectangle 2,22 62,42 2,2
    fill "#000000" rectangle 4,24 60,40
    fill "#221111" circle 12,32 18,32  fill "#550000" circle 12,32 16,32
    fill "#800000" circle 32,32 38,32  fill "#ff0000" circle 32,32 36,32
    fill "#ffffff" circle 30,30 31.5,30
    fill "#221111" circle 52,32 58,32  fill "#550000" circle 52,32 56,32' "$large"
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "icons/hicolor/${size}x${size}/apps"
  png "PNG32:icons/hicolor/${size}x${size}/apps/tarniva.png" "$large" -resize "${size}x${size}"
done

png PNG24:emblem.png -size 34x42 xc:'#000000' \
  -fill '#404040' -draw 'roundrectangle 0,0 33,41 4,4' \
  -fill '#000000' -draw 'roundrectangle 3,3 30,38 3,3' \
  -fill '#800000' -draw 'circle 17,15 17,5' -fill '#ff0000' -draw 'circle 17,15 17,8' \
  -fill '#ffffff' -draw 'circle 14,12 14,10' \
  -fill '#ffff00' -draw 'rectangle 7,30 26,32' -fill '#00ffff' -draw 'rectangle 7,34 26,35'
