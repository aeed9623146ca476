#!/usr/bin/env bash
# Remakes the README's picture of the road brush, docs/brush.png: part of the
# sample map with a road drawn through three cells as the picture window's
# brush draws it, by `valtea-map draw`, which runs the same strokes; it ends
# on open land in a loose end, which `render --problems` rings. Builds what
# it needs in the host tree of scripts/test.sh.
source "$(dirname "${BASH_SOURCE[0]}")/picture-tools.sh"
map="$work/MAPDATA.VLT"
cp "$root/samples/MAPDATA.VLT" "$map"

"$valtea_map" draw "$map" 34:20 45:24 40:34
"$valtea_map" render "$map" "$work/brush.png" --scale 8 --problems

# The same part of the map as docs/roads-after.png.
"$crop" "$work/brush.png" "$root/docs/brush.png" 144 216 624 424
echo "Written: $root/docs/brush.png"
