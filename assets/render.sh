#!/bin/bash
# Renders every picture of the window from the SVG drawings in src/.
# Needs rsvg-convert (librsvg2-bin) and ImageMagick 6 (imagemagick). The outputs are
# committed, so this only has to be run after a drawing changes.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
src=$here/src
# /usr/local/bin/convert may be something else on a developer machine.
magick=/usr/bin/convert
# The colour the window paints behind the pictures.
window_bg='#efefef'

for tool in rsvg-convert "$magick"; do
    command -v "$tool" >/dev/null || { echo "render.sh: $tool is missing" >&2; exit 1; }
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# svg_png SOURCE WIDTH HEIGHT OUTPUT
svg_png() {
    rsvg-convert --width "$2" --height "$3" "$src/$1.svg" -o "$4"
}

# GIF keeps only on/off transparency. Blending the soft edges onto the window colour
# first and cutting at half coverage keeps the outlines free of the dark fringe a
# plain alpha cut leaves on a light background.
# svg_gif SOURCE WIDTH HEIGHT OUTPUT
svg_gif() {
    local png=$tmp/$1-$2x$3.png
    svg_png "$1" "$2" "$3" "$png"
    "$magick" "$png" -background "$window_bg" -alpha remove -alpha off \
        \( "$png" -alpha extract -threshold 50% \) \
        -compose CopyOpacity -composite -strip "$4"
}

# Application icon: the main drawing is on a 32 px grid and scales to its doubles;
# the sizes that do not divide by 32 have their own drawings so their outlines stay
# on whole pixels.
icon_source() {
    case $1 in
        16) echo tapetor-16 ;;
        22) echo tapetor-22 ;;
        24) echo tapetor-24 ;;
        48) echo tapetor-48 ;;
        *) echo tapetor ;;
    esac
}
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "$here/icons/${size}x${size}"
    svg_png "$(icon_source "$size")" "$size" "$size" "$here/icons/${size}x${size}/tapetor.png"
done
cp "$here/icons/32x32/tapetor.png" "$here/tapetor.png"
cp "$src/tapetor.svg" "$here/tapetor.svg"
"$magick" "$here/icons/16x16/tapetor.png" "$here/icons/32x32/tapetor.png" \
    "$here/icons/48x48/tapetor.png" "$here/icons/256x256/tapetor.png" -strip "$here/tapetor.ico"

# Window pictures.
svg_gif logo 48 48 "$here/logo.gif"
svg_gif new_collection 48 48 "$here/new_collection.gif"
svg_gif open_collection 48 48 "$here/open_collection.gif"
svg_gif settings 48 48 "$here/settings.gif"
svg_gif minimize 32 32 "$here/minimize.gif"
svg_gif donate 62 31 "$here/donate.gif"
svg_png appmenu 32 32 "$here/appmenu.png"

# The error picture is also used as a wallpaper, which is written as an opaque bitmap.
svg_png prv_err 320 240 "$tmp/prv_err.png"
"$magick" "$tmp/prv_err.png" -background '#25292e' -alpha remove -alpha off \
    -strip -quality 90 -sampling-factor 4:4:4 "$here/prv_err.jpg"

echo "render.sh: pictures written to $here"
