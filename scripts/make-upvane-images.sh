#!/usr/bin/env bash
# Draws Upvane's icon and banner with ImageMagick. The outputs are committed; the build
# does not run this. Usage: scripts/make-upvane-images.sh
set -euo pipefail
cd "$(dirname "$0")/../upvane/res"
IM=/usr/bin/convert

# Banner (bitmap 157): 273x47 pixels fills the 182x29 dialog-unit frame at 8-point MS Sans Serif.
$IM -size 273x47 gradient:'#1d3f73'-'#3d7fd0' \
    -fill white -stroke none -draw "polygon 14,34 24,12 34,34" \
    -fill '#ffd24a' -draw "rectangle 21,24 27,34" \
    -fill white -font DejaVu-Sans-Bold -pointsize 20 -annotate +46+26 'Quillory' \
    -fill '#d8e6ff' -font DejaVu-Sans -pointsize 11 -annotate +47+40 'Upgrade check' \
    -type TrueColor BMP3:banner.bmp

# Program icon: an upward arrow on a blue disc, 32x32 and 16x16.
for s in 32 16; do
  $IM -size ${s}x${s} xc:none -fill '#2f6fc0' -draw "circle $((s/2-1)),$((s/2-1)) $((s/2-1)),0" \
      -fill white -draw "polygon $((s/2-1)),$((s/8)) $((s*3/4)),$((s/2)) $((s/4-1)),$((s/2))" \
      -draw "rectangle $((s*3/8)),$((s/2)) $((s*5/8-1)),$((s*13/16))" \
      PNG32:icon$s.png
done
$IM icon32.png icon16.png upvane.ico
rm -f icon32.png icon16.png
