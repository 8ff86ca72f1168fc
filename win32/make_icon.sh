#!/bin/sh
# make_icon.sh CONVERT IMAGE ICON: the saver's icon from an image of our own
# packs (a butterfly wing), scaled to the sizes Windows shows.
set -e
"$1" "$2" -background none -gravity center -resize 256x256 -extent 256x256 \
  -define icon:auto-resize=256,48,32,16 "$3"
