#!/bin/sh
# Draws the alarm pendant shown in the waiting dialog and the About dialog.
# The picture is drawn four times larger and scaled down at the end, which smooths every edge.
# Usage: tools/draw-pendant.sh [output.jpg]   (default: app/images/pendant.jpg)
set -eu

cd "$(dirname "$0")/.."
output="${1:-app/images/pendant.jpg}"

width=484
height=640
body="path 'M 242,150 C 336,150 404,300 404,424 C 404,536 334,604 242,604
  C 150,604 80,536 80,424 C 80,300 148,150 242,150 Z'"
lug="roundrectangle 200,104 284,196 22,22"

convert -size ${width}x${height} gradient:'#f5f7fa'-'#dde3ea' \
  \( -size ${width}x${height} xc:none -fill 'rgba(20,30,45,0.40)' \
     -draw "translate 12,16 $body" -draw "translate 12,16 $lug" -blur 0x14 \) -composite \
  -fill none -stroke '#6f7b88' -strokewidth 9 \
  -draw "bezier 242,56 214,30 186,12 170,0" -draw "bezier 242,56 270,30 298,12 314,0" \
  -fill '#eef0f3' -stroke '#56606c' -strokewidth 6 -draw "$lug" \
  -fill '#3b434d' -stroke none -draw "circle 242,150 242,164" \
  -fill none -stroke '#7d8792' -strokewidth 13 -draw "circle 242,104 242,150" \
  -stroke '#c9d0d8' -strokewidth 4 -draw "arc 198,60 286,148 200,300" \
  \( -size ${width}x${height} radial-gradient:'#ffffff'-'#b9c1cb' \
     -distort SRT '242,424 1.15 0 200,330' \
     \( -size ${width}x${height} xc:black -fill white -draw "$body" \) \
     -alpha off -compose CopyOpacity -composite \) -compose Over -composite \
  -fill none -stroke '#56606c' -strokewidth 6 -draw "$body" \
  -fill '#dfe3e8' -stroke '#8a939e' -strokewidth 4 -draw "circle 242,430 242,556" \
  -fill '#cf232c' -stroke '#8a1118' -strokewidth 6 -draw "circle 242,430 242,532" \
  -fill none -stroke 'rgba(90,0,0,0.30)' -strokewidth 5 -draw "circle 242,430 242,512" \
  \( -size ${width}x${height} xc:none -fill 'rgba(255,255,255,0.45)' \
     -draw "ellipse 212,390 48,26 0,360" -blur 0x8 \) -composite \
  -fill '#e4e7ec' -stroke '#8a939e' -strokewidth 3 -draw "circle 242,268 242,292" \
  -fill '#38b54a' -stroke '#1d6a29' -strokewidth 3 -draw "circle 242,268 242,282" \
  -fill 'rgba(255,255,255,0.75)' -stroke none -draw "circle 237,263 237,267" \
  -resize 121x160 -strip -sampling-factor 4:4:4 -quality 92 "$output"
