#!/bin/sh
# Draws the about box picture, forms/data/AboutPicture.bmp: a gallery sheet of
# nine small landscapes. The magenta corners are the colour the box leaves out
# (its bottom-left pixel); no smoothing, so no edge pixel mixes with it.
set -eu
out="$(dirname "$0")/data/AboutPicture.bmp"
set -- -size 200x200 xc:'#FF00FF' +antialias \
    -fill '#1F3A68' -draw 'roundrectangle 6,6 193,193 22,22' \
    -fill '#F2EFE6' -draw 'roundrectangle 16,16 183,183 12,12'
skies='#8EC5F0 #F3C77A #B9A7E8 #9FD9C8 #F2A38C #A8C8F5 #FFD98A #C4E3A4 #9DB8E8'
i=0
for sky in $skies; do
    x=$((24 + (i % 3) * 54)); y=$((24 + (i / 3) * 54))
    set -- "$@" \
        -fill '#5A5A5A' -draw "rectangle $x,$y $((x + 45)),$((y + 45))" \
        -fill "$sky" -draw "rectangle $((x + 2)),$((y + 2)) $((x + 43)),$((y + 43))" \
        -fill '#FFF4B0' -draw "circle $((x + 32)),$((y + 12)) $((x + 37)),$((y + 12))" \
        -fill '#3F7A3A' -draw "polygon $((x + 2)),$((y + 43)) $((x + 16)),$((y + 20)) $((x + 27)),$((y + 33)) $((x + 34)),$((y + 25)) $((x + 43)),$((y + 37)) $((x + 43)),$((y + 43))"
    i=$((i + 1))
done
/usr/bin/convert "$@" -type TrueColor "BMP3:$out"
