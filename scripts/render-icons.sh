#!/usr/bin/env bash
# Renders the program's icon drawing (packaging/icons/*.svg) into the PNG sizes of the hicolor
# theme, which are kept in the repository beside it, and the Windows program's icon file from
# them. Run after changing the drawing; needs rsvg-convert (Debian package librsvg2-bin) and
# ImageMagick's convert.
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
id=de.orvel.UkovaProgrammer
for size in 16 24 32 48 64 128 256; do
  mkdir -p "hicolor/${size}x${size}"
  rsvg-convert --width "$size" --height "$size" "$id.svg" --output "hicolor/${size}x${size}/$id.png"
done
# One Windows icon file with every size, for the program file and the .ukova file type.
convert hicolor/{16x16,24x24,32x32,48x48,64x64,128x128,256x256}/$id.png ../windows/ukova-programmer.ico
