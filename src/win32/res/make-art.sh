#!/usr/bin/env bash
# Draws the program's icon and pictures from plain shapes and text (ImageMagick).
# The outputs are committed; run this only to change them.
set -euo pipefail
cd "$(dirname "$0")"
CJK=/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc

# Icon: a rounded tile with two stacked "name cards" and an arrow between them.
convert -size 128x128 xc:none \
  -fill '#1e6fb8' -draw 'roundrectangle 4,4 123,123 22,22' \
  -fill '#2f8ee0' -draw 'roundrectangle 4,4 123,70 22,22' \
  -fill white -draw 'roundrectangle 20,24 86,48 6,6' \
  -fill '#ffd24a' -draw 'roundrectangle 42,80 108,104 6,6' \
  -fill white -draw 'polygon 92,36 108,36 108,62 116,62 100,76 84,62 92,62' \
  -fill '#1e6fb8' -draw 'rectangle 28,33 70,39' \
  -fill '#1e6fb8' -draw 'rectangle 50,89 94,95' \
  icon-128.png
for s in 64 48 32 16; do convert icon-128.png -resize ${s}x${s} icon-$s.png; done
convert icon-128.png icon-64.png icon-48.png icon-32.png icon-16.png velbrook.ico
rm -f icon-*.png

# Two square pictures and two small banners for the "感谢有你" window (the first banner also
# serves the picture button of the main window).
convert -size 200x200 gradient:'#fbe3b0'-'#f29b4b' \
  -fill '#ffffff80' -draw 'circle 100,90 100,30' \
  -font "$CJK" -fill '#7a3b10' -pointsize 34 -gravity center -annotate +0-10 '谢谢使用' \
  -pointsize 16 -annotate +0+40 'Velbrook' -quality 88 picture1.jpg
convert -size 200x200 gradient:'#c9e8ff'-'#4a90d9' \
  -fill '#ffffff90' -draw 'roundrectangle 30,40 170,160 18,18' \
  -font "$CJK" -fill '#123a66' -pointsize 30 -gravity center -annotate +0-12 '批量改名' \
  -pointsize 16 -annotate +0+28 '一次搞定' -quality 88 picture2.jpg
convert -size 150x80 gradient:'#2f8ee0'-'#1e6fb8' \
  -font "$CJK" -fill white -pointsize 22 -gravity center -annotate +0+0 '感谢有你' -quality 90 picture3.jpg
convert -size 150x80 gradient:'#ffd24a'-'#f29b4b' \
  -font "$CJK" -fill '#5a2a00' -pointsize 20 -gravity center -annotate +0+0 '欢迎建议' -quality 90 picture4.jpg
