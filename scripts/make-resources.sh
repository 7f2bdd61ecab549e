#!/bin/sh
# Draws the pictures, icons and cursors the windows show into resources/,
# with ImageMagick and the Liberation fonts (scripts/install-deps.sh
# installs both). The files it makes are kept in the repository, so a build
# never needs this script; run it again after changing a drawing here.
set -eu
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
OUT="$ROOT/resources"
FONTS=/usr/share/fonts/truetype/liberation
SANS="$FONTS/LiberationSans-Regular.ttf"
BOLD="$FONTS/LiberationSans-Bold.ttf"
SERIF="$FONTS/LiberationSerif-BoldItalic.ttf"
for f in "$SANS" "$BOLD" "$SERIF"; do
  [ -f "$f" ] || { echo "missing font $f (install fonts-liberation)" >&2; exit 1; }
done
command -v convert >/dev/null || { echo "ImageMagick's convert is missing (install imagemagick)" >&2; exit 1; }
mkdir -p "$OUT"
TMP="$(mktemp -d)"
trap 'rm -rf "$TMP"' EXIT

# The house colour of the password gate's band (red 71h, green 0Fh, blue 27h).
HOUSE='#710F27'

# --- logoBack.jpg: the frame's background, a tile that repeats seamlessly ---
convert -size 128x128 xc:'#E9EDF2' \
  -fill none -stroke '#DCE2EA' -strokewidth 1 \
  -draw 'line 0,32 128,32' -draw 'line 0,96 128,96' \
  -draw 'line 32,0 32,128' -draw 'line 96,0 96,128' \
  -stroke '#D2D9E3' -draw 'line 0,0 128,128' -draw 'line 0,128 128,0' \
  -strip -quality 90 "$OUT/logoBack.jpg"

# --- lanv.gif: the product's logo ---
convert -size 180x60 xc:none \
  -fill "$HOUSE" -draw 'roundrectangle 1,4 53,56 8,8' \
  -fill white -font "$SERIF" -pointsize 42 -gravity northwest -annotate +9+4 'L' \
  -fill "$HOUSE" -font "$SERIF" -pointsize 30 -annotate +60+3 'LANVik' \
  -fill '#333333' -font "$BOLD" -pointsize 12 -annotate +62+40 'Pellmark Software' \
  -strip "$OUT/lanv.gif"

# --- icons: each drawn at 32 pixels and kept at 16, 32 and 48 ---
icon() {  # icon NAME DRAW-ARGS...
  name="$1"
  shift
  convert -size 32x32 xc:none "$@" "$TMP/icon.png"
  convert \( "$TMP/icon.png" -resize 16x16 \) "$TMP/icon.png" \( "$TMP/icon.png" -resize 48x48 \) \
    -strip "$OUT/$name"
}

# The program's icon: two black documents, one over the other.
icon "docs black.ico" \
  -fill white -stroke black -strokewidth 2 \
  -draw 'polygon 4,2 18,2 24,8 24,24 4,24' \
  -draw 'polygon 10,8 24,8 30,14 30,30 10,30' \
  -strokewidth 1 -draw 'line 14,16 26,16' -draw 'line 14,20 26,20' -draw 'line 14,24 26,24'

# Toolbar: the case files, the mileage rate, the password.
icon "folder.ico" \
  -fill '#E8B84A' -stroke '#7A5A10' -strokewidth 1 \
  -draw 'polygon 2,8 12,8 15,11 30,11 30,27 2,27' \
  -fill '#F5D27A' -draw 'polygon 2,14 30,14 30,27 2,27'
icon "car.ico" \
  -fill "$HOUSE" -stroke black -strokewidth 1 \
  -draw 'polygon 2,20 5,13 10,12 14,7 24,7 28,13 30,14 30,22 2,22' \
  -fill '#BFD7EA' -draw 'polygon 15,9 23,9 26,13 12,13' \
  -fill '#222222' -draw 'circle 9,23 9,27' -draw 'circle 24,23 24,27'
icon "key.ico" \
  -fill '#D9A400' -stroke '#5C4500' -strokewidth 1 \
  -draw 'circle 10,16 10,24' -draw 'rectangle 17,14 30,18' \
  -draw 'rectangle 24,18 26,23' -draw 'rectangle 28,18 30,22' \
  -fill none -draw 'circle 8,16 8,19'
# The help window's icon: a question mark on a blue disc.
icon "help.ico" \
  -fill '#1F5FA8' -stroke '#0E2F57' -strokewidth 1 -draw 'circle 16,16 16,30' \
  -fill white -stroke none -font "$BOLD" -pointsize 24 -gravity center -annotate +0+1 '?'

# The calendar button of the date fields: a page with a red band and a grid.
icon "calendar.ico" \
  -fill white -stroke '#333333' -strokewidth 1 -draw 'rectangle 3,5 28,28' \
  -fill "$HOUSE" -draw 'rectangle 3,5 28,11' \
  -fill '#333333' -stroke none \
  -draw 'rectangle 7,14 10,16' -draw 'rectangle 14,14 17,16' -draw 'rectangle 21,14 24,16' \
  -draw 'rectangle 7,19 10,21' -draw 'rectangle 14,19 17,21' -draw 'rectangle 21,19 24,21' \
  -draw 'rectangle 7,24 10,26' -draw 'rectangle 14,24 17,26' \
  -fill '#555555' -draw 'rectangle 8,2 10,7' -draw 'rectangle 21,2 23,7'

# --- car.gif: the car beside the selected rate in the mileage-rate windows ---
# Drawn at twice its size and halved, for smooth edges; the background is
# transparent, so the car stands on whatever holds it.
convert -size 192x112 xc:none \
  -fill '#555555' -stroke none -draw 'rectangle 6,96 186,100' \
  -fill "$HOUSE" -stroke black -strokewidth 3 \
  -draw 'path "M 12,82 L 16,60 Q 20,52 34,50 L 52,48 L 72,24 Q 78,18 90,18 L 130,18 Q 142,18 150,28 L 164,48 L 176,52 Q 186,56 186,66 L 186,82 Z"' \
  -fill '#BFD7EA' -strokewidth 2 \
  -draw 'path "M 62,48 L 80,28 Q 84,24 92,24 L 106,24 L 106,48 Z"' \
  -draw 'path "M 114,24 L 128,24 Q 138,24 144,32 L 154,48 L 114,48 Z"' \
  -stroke black -strokewidth 2 -draw 'line 108,52 108,80' \
  -fill '#F5D27A' -stroke black -strokewidth 1 -draw 'rectangle 176,58 185,64' \
  -fill '#222222' -stroke black -strokewidth 2 -draw 'circle 50,84 50,100' -draw 'circle 148,84 148,100' \
  -fill '#BBBBBB' -stroke none -draw 'circle 50,84 50,91' -draw 'circle 148,84 148,91' \
  -resize 96x56 -channel A -threshold 50% +channel -strip "$OUT/car.gif"

# Blank.ico: an icon that shows nothing.
convert -size 32x32 xc:none \( -clone 0 -resize 16x16 \) -strip "$OUT/Blank.ico"

# --- ~hand.cur: the pointer over a link, a hand pointing up ---
convert -size 32x32 xc:none -fill white -stroke black -strokewidth 1 \
  -draw 'roundrectangle 9,1 13,17 2,2' \
  -draw 'roundrectangle 13,9 17,19 2,2' \
  -draw 'roundrectangle 17,10 21,20 2,2' \
  -draw 'roundrectangle 21,12 25,21 2,2' \
  -draw 'polygon 9,14 5,12 3,14 8,22 10,28 24,28 25,18' \
  -stroke none -draw 'rectangle 10,15 24,27' \
  -stroke black -draw 'line 13,17 13,20' -draw 'line 17,19 17,21' -draw 'line 21,20 21,21' \
  "$TMP/hand.png"
convert "$TMP/hand.png" -strip "CUR:$OUT/~hand.cur"
# A cursor file is an icon file of type 2 (bytes 2 and 3) whose entry keeps
# the hot spot, here the finger's tip at (11, 1), where an icon keeps its
# planes and bit count (bytes 10 to 13).
printf '\002\000' | dd of="$OUT/~hand.cur" bs=1 seek=2 conv=notrunc status=none
printf '\013\000\001\000' | dd of="$OUT/~hand.cur" bs=1 seek=10 conv=notrunc status=none

# --- box21.jpg: the codes of box 21 of the claim form ---
# Drawn at the size and shape of the picture control of the "BOX 21" window
# at its designed size (322 by 262 dialog units of the window's font, 483 by
# 393 pixels), so that it is shown as drawn, without scaling, and every code
# reads right.
W=483
H=393
ROW=14
Y0=64
LEFT=6
TYPE=114
CODE=440
RIGHT=$((W - 6))
draw="$TMP/box21.mvg"
{
  echo "font '$BOLD' font-size 13 fill black stroke none"
  echo "text $LEFT,19 'BOX 21 - CASE DISPOSITION'"
  echo "font-size 10.5"
  echo "text $((TYPE + 4)),45 'TYPE OF DISPOSITION'"
  echo "font-size 10 text $((CODE + 4)),45 'CODE'"
  y=$Y0
  while IFS='|' read -r g what code; do
    if [ -n "$g" ]; then
      echo "stroke black stroke-width 1 line $LEFT,$((y - 11)) $RIGHT,$((y - 11)) stroke none"
      echo "font '$BOLD' font-size 10 text $((LEFT + 4)),$y \"$g\""
    fi
    echo "font '$SANS' font-size 10.5 text $((TYPE + 4)),$y \"$what\""
    echo "font '$BOLD' font-size 12 text $((CODE + 11)),$y \"$code\""
    y=$((y + ROW))
  done <<'TABLE'
DISTRICT COURT|Dismissed|01
|Acquitted by court, or gov't motion for judgment of acquittal granted|02
|Acquitted by jury|03
|Convicted /final plea guilty|04
|Convicted/final nolo|05
|Convicted/court trial|08
|Convicted/jury trial|09
|Mistrial|CC
|Not Guilty/insane/court trial|EE
|Guilty/insane/court trial|FF
|Not Guilty/insane/jury trial|GG
|Guilty/insane/jury trial|HH
|Other (PTD matters, other reps. Transfers)|XX
APPEALS|Affirmed|AA
|Reversed|RR
|Remanded|00
|Reversed in Part/Affirmed in Part|RA
|Affirmed in Part/Reversed in Part|AR
|Dismissed|01
Probation/Parole/|Revoked|RV
|Restored|RS
Habeas Corpus|Granted|GR
|Denied|DE
TABLE
  bottom=$((y - 11))
  echo "stroke black stroke-width 1"
  echo "line $LEFT,$bottom $RIGHT,$bottom"
  echo "line $LEFT,31 $RIGHT,31"
  echo "line $LEFT,31 $LEFT,$bottom"
  echo "line $TYPE,31 $TYPE,$bottom"
  echo "line $CODE,31 $CODE,$bottom"
  echo "line $RIGHT,31 $RIGHT,$bottom"
  echo "stroke none font '$BOLD' font-size 10 text $((LEFT + 4)),$((Y0 + 19 * ROW + 12)) 'Supervised Release'"
} >"$draw"
convert -size "${W}x${H}" xc:white -draw "$(cat "$draw")" -strip -quality 97 "$OUT/box21.jpg"

echo "made: $(cd "$OUT" && ls | tr '\n' ' ')"
