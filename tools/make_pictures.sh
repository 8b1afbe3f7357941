#!/usr/bin/env bash
# Draws the splash pictures data/StartE.jpg and data/StartC.jpg and the program icon
# data/mzprog.png from data/icons/mzprog.svg (ImageMagick; the Chinese splash needs
# fonts-noto-cjk). Run it again after changing the design; the pictures are committed so that
# building needs neither.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/data"
W=520 H=320

# Two arcs of radius $1 on either side of the antenna tip (420,110), 80 degrees each.
waves() {
    awk -v r="$1" 'BEGIN {
        cx = 420; cy = 110; a = 40 * 3.14159265 / 180
        dx = r * cos(a); dy = r * sin(a)
        printf "path \"M %.1f,%.1f A %d,%d 0 0,1 %.1f,%.1f M %.1f,%.1f A %d,%d 0 0,0 %.1f,%.1f\"",
            cx + dx, cy - dy, r, r, cx + dx, cy + dy, cx - dx, cy - dy, r, r, cx - dx, cy + dy
    }'
}

# The picture without words: a dark blue field, a lighter band at the bottom, and radio
# waves leaving a small antenna on the right.
base=$(mktemp --suffix=.png)
trap 'rm -f "$base"' EXIT
convert -size ${W}x${H} gradient:'#0d2b52'-'#071426' \
    -fill '#12406f' -draw "rectangle 0,262 $W,$H" \
    -fill '#f2a900' -draw "rectangle 0,258 $W,262" \
    -fill none -strokewidth 4 \
    -stroke '#5b9be0' -draw "$(waves 24)" \
    -stroke '#3d7cc9' -draw "$(waves 46)" \
    -stroke '#2a5f9e' -draw "$(waves 68)" \
    -stroke '#c8d6e8' -strokewidth 4 -draw "line 420,110 420,230" \
    -stroke none -fill '#c8d6e8' -draw "circle 420,110 420,104" \
    -fill '#c8d6e8' -draw "polygon 404,230 436,230 420,214" \
    "$base"

# title, line 1, line 2, footer, font for the lines, output
draw() {
    convert "$base" \
        -font DejaVu-Sans-Bold -pointsize 64 -fill white -annotate +36+120 "$1" \
        -font "$5" -pointsize 22 -fill '#c8d6e8' -annotate +40+168 "$2" \
        -font "$5" -pointsize 22 -fill '#c8d6e8' -annotate +40+202 "$3" \
        -font DejaVu-Sans -pointsize 14 -fill '#9fb3cc' -annotate +40+298 "$4" \
        -quality 88 -strip "$6"
}

draw "MZ-710" "27/28 MHz Transceiver" "Programming Software" "mzprog  ·  V100" \
    DejaVu-Sans "$out/StartE.jpg"
draw "MZ-710" "27/28 MHz 车载电台" "写频软件" "mzprog  ·  V100" \
    Noto-Sans-CJK-SC "$out/StartC.jpg"
convert -background none "$out/icons/mzprog.svg" -resize 256x256 -strip "$out/mzprog.png"
ls -l "$out/StartE.jpg" "$out/StartC.jpg" "$out/mzprog.png"
