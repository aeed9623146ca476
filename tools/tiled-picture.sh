#!/usr/bin/env bash
# Remakes the README's picture of the sample map in Tiled, docs/tiled-export.png:
# the map exported by `valtea-map export MAP map.tmj` and drawn by Tiled's own
# renderer, tmxrasterizer (Debian's tiled package), at half the tiles' size.
# It shows the part of the map that docs/roads-after.png shows.
source "$(dirname "${BASH_SOURCE[0]}")/picture-tools.sh"
"$valtea_map" export "$root/samples/MAPDATA.VLT" "$work/map.tmj" >/dev/null
QT_QPA_PLATFORM=offscreen tmxrasterizer --scale 0.5 "$work/map.tmj" "$work/tiled.png" 2>/dev/null

# Tiled draws a tile 20 x 16 at this scale, 2 pixels right of and 8 below
# where render --scale 8 puts its hexagon: the crop of road-pictures.sh, moved so.
"$crop" "$work/tiled.png" "$root/docs/tiled-export.png" 146 224 624 424
echo "Written: $root/docs/tiled-export.png"
