#!/usr/bin/env bash
# Draws the rainfall chart of the QTI 3.0 test package with ImageMagick; the PNG is kept
# in the repository. Dates are left out so that the same drawing gives the same bytes.
set -euo pipefail
cd "$(dirname "$0")"
font=DejaVu-Sans
# One pixel per millimetre of rain above the axis at y = 150.
bars=()
x=40
for mm in 40 25 70 55; do
  bars+=(-draw "rectangle $x,$((150 - mm)) $((x + 30)),150")
  x=$((x + 48))
done
convert -size 240x180 xc:white \
  -stroke '#c8c8c8' -strokewidth 1 -draw "line 30,130 225,130" -draw "line 30,110 225,110" \
  -draw "line 30,90 225,90" -draw "line 30,70 225,70" \
  -stroke none -fill '#3d7ab8' "${bars[@]}" \
  -stroke black -strokewidth 1 -draw "line 30,150 225,150" -draw "line 30,150 30,60" \
  -stroke none -fill black -font "$font" -pointsize 11 \
  -draw "text 46,166 'Jan'" -draw "text 94,166 'Feb'" -draw "text 141,166 'Mar'" -draw "text 190,166 'Apr'" \
  -draw "text 8,154 '0'" -draw "text 4,114 '40'" -draw "text 4,74 '80'" -draw "text 4,52 'mm'" \
  -depth 8 -strip -define png:exclude-chunks=date,time package-qti3/items/ITM-02/rainfall.png
