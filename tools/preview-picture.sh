#!/usr/bin/env bash
# Remakes the README's picture of a patch's preview, docs/patch-preview.png:
# the editor under Wine with the sample map open, the map picture beside it,
# and File > apply a patch with a road mod over them. The mod draws a road
# (valtea-map draw, then diff --patch); the map it meets has one of the mod's
# cells edited by the player since, which makes one conflict. Builds the
# editor and the screenshot program in the Windows tree, the tools in the
# host tree.
source "$(dirname "${BASH_SOURCE[0]}")/picture-tools.sh"

configure_tree win -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake"
build_tree win ValteaRoadEditor ValteaScreenshot >/dev/null

# The mod: a road drawn on the sample, as a text patch.
cp "$root/samples/MAPDATA.VLT" "$work/modded.VLT"
"$valtea_map" draw "$work/modded.VLT" 34:20 45:24 40:34 >/dev/null
# diff ends with 1 when the maps differ, as diff(1) does.
"$valtea_map" diff "$root/samples/MAPDATA.VLT" "$work/modded.VLT" --patch "$work/road-mod.txt" >/dev/null || [[ $? == 1 ]]

# The player's map: the sample, with a hill where the mod's road passes.
export WINEPREFIX="$build/wineprefix-preview"
ensure_wine_prefix
game_folder="$WINEPREFIX/drive_c/Program Files/Corvane/Valtea"
mkdir -p "$game_folder"
cp "$root/samples/MAPDATA.VLT" "$game_folder/MAPDATA.VLT"
conflict=$(grep -m1 -o '^[0-9]*:[0-9]*' "$work/road-mod.txt")
"$valtea_map" set "$game_folder/MAPDATA.VLT" "$conflict" 3 >/dev/null
iconv -f UTF-8 -t CP932 "$work/road-mod.txt" >"$game_folder/road-mod.txt"

windows_path() { echo "Z:${1//\//\\}"; }
export LANG=ja_JP.UTF-8
set_window_management unmanaged
start_wineserver
xvfb-run -a -s "-screen 0 1600x1000x24" \
  "$wine_loader" "$build/win/tools/ValteaScreenshot.exe" \
  "$(windows_path "$build/win/src/ValteaRoadEditor.exe")" "$(windows_path "$root/docs/patch-preview.png")" \
  --patch road-mod.txt
echo "Written: $root/docs/patch-preview.png"
