#!/usr/bin/env bash
# Draws Upvane's banner with ImageMagick, at two sizes from one drawing. The outputs are
# committed; the build does not run this. The program icon is drawn by tools/make-icons.py.
# Usage: scripts/make-upvane-images.sh
set -euo pipefail
cd "$(dirname "$0")/../upvane/res"
IM=/usr/bin/convert
[ -x "$IM" ] || IM=convert

# The banner at scale S (1 or 2) into the file given after the options; "$@" adds output options.
banner() {
  local s=$1; shift
  $IM -size $((273 * s))x$((47 * s)) gradient:'#1d3f73'-'#3d7fd0' \
      -fill white -stroke none -draw "polygon $((14 * s)),$((34 * s)) $((24 * s)),$((12 * s)) $((34 * s)),$((34 * s))" \
      -fill '#ffd24a' -draw "rectangle $((21 * s)),$((24 * s)) $((27 * s + s - 1)),$((34 * s + s - 1))" \
      -fill white -font DejaVu-Sans-Bold -pointsize $((20 * s)) -annotate +$((46 * s))+$((26 * s)) 'Quillory' \
      -fill '#d8e6ff' -font DejaVu-Sans -pointsize $((11 * s)) -annotate +$((47 * s))+$((40 * s)) 'Upgrade check' \
      "$@"
}

# Bitmap 157: 273x47 pixels fills the 182x29 dialog-unit frame at 8-point MS Sans Serif at
# 100 % on Windows, where it is shown as it is.
banner 1 -type TrueColor BMP3:banner.bmp
# Bitmap 158: twice the size, scaled down into every other frame (125 % to 200 %, and Wine's
# wider dialog units). Its rows are one colour each but for the picture, so 8 bits with
# run-length compression keep it at a few kilobytes.
banner 2 +dither -colors 256 -type Palette -compress RLE BMP3:banner-large.bmp
