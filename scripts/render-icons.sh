#!/usr/bin/env bash
# Renders the program's icon drawing (packaging/icons/*.svg) into the PNG sizes of the hicolor
# theme, which are kept in the repository beside it. Run after changing the drawing; needs
# rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
id=de.orvel.UkovaProgrammer
for size in 16 24 32 48 64 128 256; do
  mkdir -p "hicolor/${size}x${size}"
  rsvg-convert --width "$size" --height "$size" "$id.svg" --output "hicolor/${size}x${size}/$id.png"
done
