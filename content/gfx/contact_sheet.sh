#!/bin/sh
# Draws a contact sheet of all 240 tiles of blocks.bmp, each labelled with its hex code.
#   content/gfx/contact_sheet.sh [BUILD_DIR] [OUT.png]    (needs ImageMagick)
set -e
build=${1:-build}
out=${2:-blocks-contact.png}
sheet="$build/content-out/gfx/blocks.bmp"
[ -f "$sheet" ] || { echo "no $sheet: build first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# transparent magenta shown as dark grey, each tile enlarged three times
convert "$sheet" -fill '#303040' -opaque '#ff00ff' -crop 16x16 +repage -scale 300% "$work/t%03d.png"
args=""
i=0
while [ $i -lt 240 ]; do
    args="$args -label $(printf '0x%02X' $i) $(printf '%s/t%03d.png' "$work" $i)"
    i=$((i + 1))
done
# shellcheck disable=SC2086 # the argument list is split on purpose
montage $args -tile 20x -geometry +3+3 -background '#101018' -fill '#e0e0e0' -pointsize 11 "$out"
echo "wrote $out"
