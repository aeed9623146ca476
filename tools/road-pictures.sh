#!/usr/bin/env bash
# Remakes the README's pictures of `valtea-map shape` and `valtea-map road`,
# docs/roads-before.png and docs/roads-after.png, from the sample map and with
# valtea-map's own commands only:
#  - before: three road pieces turned into wrong shapes with `set`, as a slip
#    in the editor would, and two new castles (`set --force`), drawn by
#    `render --problems`, which rings each problem;
#  - after: the same map once `shape` has repaired it and `road` has joined
#    the two castles, drawn the same way.
# Both pictures show the same part of the map. Builds what it needs in the
# host tree of scripts/test.sh.
source "$(dirname "${BASH_SOURCE[0]}")/picture-tools.sh"
map="$work/MAPDATA.VLT"
cp "$root/samples/MAPDATA.VLT" "$map"

"$valtea_map" set "$map" 23:32 18          # ＼ -> ／
"$valtea_map" set "$map" 30:24 18          # 人 -> ／, a branch cut off
"$valtea_map" set "$map" 34:26 20          # ＼ -> Λ
"$valtea_map" set "$map" 21:38 31 --force  # two castles on open land
"$valtea_map" set "$map" 41:28 31 --force
"$valtea_map" render "$map" "$work/before.png" --scale 8 --problems
"$valtea_map" shape "$map"
"$valtea_map" road "$map" 21:38 41:28
"$valtea_map" render "$map" "$work/after.png" --scale 8 --problems

# At scale 8 a grid column is 16 pixels wide and a half row 8 high: columns
# 10 to 48, half rows 27 to 79.
for picture in before after; do
  "$crop" "$work/$picture.png" "$root/docs/roads-$picture.png" 144 216 624 424
done
echo "Written: $root/docs/roads-before.png $root/docs/roads-after.png"
