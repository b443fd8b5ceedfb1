#!/usr/bin/env bash
# Draws the sample test's two diagrams with ImageMagick. The PNG files are kept in the
# repository; run this only to change a drawing. Dates are left out so that the same
# drawing gives the same bytes.
set -euo pipefail
cd "$(dirname "$0")"
font=DejaVu-Sans
png=(-depth 8 -strip -define png:exclude-chunks=date,time)

# Right-angled triangle, 40 pixels to the centimetre: legs of 3 cm and 4 cm.
convert -size 240x180 xc:white -stroke black -strokewidth 2 -fill none \
  -draw "polygon 40,30 40,150 200,150" \
  -strokewidth 1 -draw "polyline 40,138 52,138 52,150" \
  -stroke none -fill black -font "$font" -pointsize 15 \
  -draw "text 103,172 '4 cm'" -draw "text 2,96 '3 cm'" \
  -font "$font-Oblique" -pointsize 18 -draw "text 128,84 'x'" \
  "${png[@]}" triangle.png

# A map with north at the top: the lighthouse B lies 100 pixels east and 100 pixels
# north of the harbour A.
grid=()
for x in 20 40 60 80 100 120 140 160 180 200 220; do grid+=(-draw "line $x,0 $x,180"); done
for y in 20 40 60 80 100 120 140 160; do grid+=(-draw "line 0,$y 240,$y"); done
convert -size 240x180 xc:'#eef5e9' -stroke '#cfdccb' -strokewidth 1 "${grid[@]}" \
  -stroke '#1f3a5f' -strokewidth 2 -draw "line 24,58 24,18" -fill '#1f3a5f' -draw "polygon 24,12 18,26 30,26" \
  -stroke none -font "$font-Bold" -pointsize 14 -draw "text 19,74 'N'" \
  -fill '#b03030' -draw "circle 60,140 66,140" -fill '#205090' -draw "circle 160,40 166,40" \
  -fill black -font "$font-Bold" -pointsize 15 -draw "text 70,158 'A'" -draw "text 170,36 'B'" \
  -font "$font" -pointsize 11 -draw "text 76,144 'Harbour'" -draw "text 150,62 'Lighthouse'" \
  "${png[@]}" map.png
