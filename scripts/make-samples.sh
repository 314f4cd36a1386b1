#!/usr/bin/env bash
# Makes the demo's sample pictures: a dozen photo-like JPEGs of several sizes
# and orientations, painted by ImageMagick from fractal plasma, gradients and
# noise with fixed seeds, so every run makes the same pictures.
#   scripts/make-samples.sh FOLDER
# FOLDER must not exist yet; it appears only once every picture is made.
set -euo pipefail

[ $# -eq 1 ] || { echo "usage: $0 FOLDER" >&2; exit 2; }
dest=$1
[ -e "$dest" ] && { echo "make-samples: $dest is already there" >&2; exit 1; }
convert=/usr/bin/convert
[ -x "$convert" ] || { echo "make-samples: $convert is missing (package imagemagick)" >&2; exit 1; }

work="$dest.making"
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT

# The start of a parenthesised soft grey field of size WxH: plasma made at
# 1/XDIV by 1/YDIV of the size, enlarged and blurred. The caller closes it.
field() {  # WxH XDIV YDIV BLUR
    local w=${1%x*} h=${1#*x}
    echo "( -size $(((w + $2 - 1) / $2))x$(((h + $3 - 1) / $3)) plasma:grey50-grey50 -colorspace gray -auto-level -colorspace sRGB -resize $1! -blur 0x$4"
}

# Grain and encoding shared by every picture.
finish=(-attenuate 0.3 +noise Gaussian -strip -type TrueColor -interlace none -sampling-factor 2x2 -quality 88)

# Hills under a sky with clouds; HILLS scales how far the skyline wanders.
horizon() {  # NAME WxH SEED SKYTOP SKYLOW DARK LIGHT SKYLINE% HILLS
    local h=${2#*x}
    # shellcheck disable=SC2046
    "$convert" -seed "$3" -size "$2" gradient:"$4-$5" \
        $(field "$2" 5 5 4) -level 55%,100% -evaluate multiply 0.6 \) -compose screen -composite \
        $(field "$2" 4 4 0) +level-colors "$6,$7" \) \
        \( -size "$2" gradient:black-white $(field "$2" 60 "$h" 3) -evaluate multiply "$9" \) \
           -compose overlay -composite -level $(($8 - 1))%,$(($8 + 1))% \) \
        -compose over -composite "${finish[@]}" "$work/$1"
}

# Open water: the sky above, long ripples below a straight horizon.
sea() {  # NAME WxH SEED SKYTOP SKYLOW DEEP SHINE HORIZON%
    # shellcheck disable=SC2046
    "$convert" -seed "$3" -size "$2" gradient:"$4-$5" \
        $(field "$2" 4 6 3) -level 60%,100% -evaluate multiply 0.5 \) -compose screen -composite \
        $(field "$2" 40 2 1) +level-colors "$6,$7" \) \
        \( -size "$2" gradient:black-white -level $(($8))%,$(($8 + 1))% \) \
        -compose over -composite "${finish[@]}" "$work/$1"
}

# A close look at a surface lit from the side: stone, sand, bark, moss.
surface() {  # NAME WxH SEED DARK LIGHT XDIV YDIV
    # shellcheck disable=SC2046
    "$convert" -seed "$3" $(field "$2" 3 3 2) +level-colors "$4,$5" \) \
        $(field "$2" "$6" "$7" 1) -shade 120x40 -auto-level -level 10%,90% \) \
        -compose overlay -composite "${finish[@]}" "$work/$1"
}

# A night sky full of stars over a dark skyline.
night() {  # NAME WxH SEED
    local h=${2#*x}
    # shellcheck disable=SC2046
    "$convert" -seed "$3" -size "$2" gradient:'#02030a-#1c2450' \
        \( -size "$2" xc:black +noise Random -channel G -separate +channel -threshold 99.7% -blur 0x0.6 -auto-level \) \
        -compose screen -composite \
        \( -size "$2" xc:'#05060a' \) \
        \( -size "$2" gradient:black-white $(field "$2" 40 "$h" 3) -evaluate multiply 0.6 \) \
           -compose overlay -composite -level 69%,71% \) \
        -compose over -composite "${finish[@]}" "$work/$1"
}

horizon green-hills.jpg        1600x1067 11 '#5a8ed0' '#f7d5b0' '#1f3a16' '#8fa85a' 55 1
horizon ridge-at-dusk.jpg      3000x750  12 '#3b4a7a' '#ff9e6f' '#141c22' '#4b5b63' 60 0.5
horizon mountain-pass.jpg      800x1200  13 '#2f6fb8' '#cfe3f5' '#3b3531' '#9c8f80' 50 1.6
horizon misty-valley.jpg       900x900   14 '#b9c4cc' '#eef0ee' '#5d6b5a' '#aab4a4' 62 0.8
horizon postcard.jpg           180x120   15 '#4f86c6' '#e8eef2' '#2e4a1c' '#7f9a4c' 58 1
sea     calm-sea.jpg           1280x853  21 '#6e9fd6' '#e9f1f7' '#123a5a' '#7fa8c4' 52
sea     sunset-bay.jpg         1920x1080 22 '#3d2d5c' '#ffb36b' '#2a1d2e' '#d98a57' 60
surface granite.jpg            1000x1000 31 '#3c3a38' '#b8b2aa' 4 4
surface sand-ripples.jpg       1024x768  32 '#8a6a3a' '#e8cf9a' 24 2
surface bark.jpg               720x1080  33 '#2a1d12' '#8b6a48' 2 20
surface moss.jpg               640x480   34 '#1e3312' '#8db04a' 3 3
night   starry-night.jpg       1200x800  41

mv "$work" "$dest"
trap - EXIT
