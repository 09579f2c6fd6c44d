#!/bin/sh
# Writes a picture of each screen between the stages, as two flows show them:
#   tests/flows/pictures.sh BUILD_DIR OUT_DIR
# maker's scene, warning, credits, title with the scroller, menu, story picture,
# bonus count (new_game); game over, name entry, continue question, hiscore
# view with the new row blinking (name_entry). BMP files, and PNG copies when
# ImageMagick's convert is installed. The numbers are input polls of the scripts.
set -eu
BUILD=$(cd "$1" && pwd)
mkdir -p "$2"
OUT=$(cd "$2" && pwd)
FLOWS=$(cd "$(dirname "$0")" && pwd)
REPLAY="$BUILD/fribb3-replay --boot --data $BUILD/tests/flows/data"

$REPLAY --shot 100:"$OUT/maker.bmp" --shot 153:"$OUT/warning.bmp" --shot 155:"$OUT/credits.bmp" \
    --shot 205:"$OUT/story.bmp" --shot 700:"$OUT/bonus.bmp" --frames 600 "$FLOWS/new_game.script"

# The title a while after the intro, so the scroller has come in; then the menu.
printf '150 -\n1 J\n1 -\n1 U\n1 -\n1 U\n1 -\n900 -\n1 S\n1 -\n100 -\n' |
    $REPLAY --shot 1000:"$OUT/title.bmp" --shot 1075:"$OUT/menu.bmp" --frames 1000 -

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cp "$FLOWS/name_entry.before/hiscores.dat" "$WORK/"
$REPLAY --workdir "$WORK" --shot 3950:"$OUT/game_over.bmp" --shot 4010:"$OUT/name_entry.bmp" \
    --shot 4016:"$OUT/continue.bmp" --shot 4022:"$OUT/hiscores.bmp" --frames 3300 "$FLOWS/name_entry.script"

if command -v convert >/dev/null 2>&1; then
    for f in "$OUT"/*.bmp; do
        convert "$f" "${f%.bmp}.png"
    done
fi
