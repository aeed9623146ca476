#!/usr/bin/env bash
# Builds the editor and starts it under Wine, in a prefix of this project's
# own where "C:\Program Files\Corvane\Valtea\MAPDATA.VLT" holds the sample map,
# so File > Open starts right there. Without a display it starts a virtual
# one, opens the sample through the real open dialog, saves a screenshot and
# prints where.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

"$root/scripts/install-deps.sh"
configure_tree win -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake"
build_tree win ValteaRoadEditor ValteaScreenshot

# Not the tests' prefix: the game folder here would change what they see.
export WINEPREFIX="$build/wineprefix-run"
ensure_wine_prefix

game_folder="$WINEPREFIX/drive_c/Program Files/Corvane/Valtea"
mkdir -p "$game_folder"
# The player's edits of the sample stay; delete the file to get a fresh one.
[[ -f "$game_folder/MAPDATA.VLT" ]] || cp "$root/samples/MAPDATA.VLT" "$game_folder/MAPDATA.VLT"

windows_path() { echo "Z:${1//\//\\}"; }
editor="$build/win/src/ValteaRoadEditor.exe"
export LANG=ja_JP.UTF-8

if [[ -n "${DISPLAY:-}" ]]; then
  set_window_management managed
  exec "$wine_loader" "$editor"
fi

screenshot="$build/screenshot.png"
set_window_management unmanaged
start_wineserver
xvfb-run -a -s "-screen 0 1024x768x24" \
  "$wine_loader" "$build/win/tools/ValteaScreenshot.exe" \
  "$(windows_path "$editor")" "$(windows_path "$screenshot")" --open
echo "No display: started a virtual one. Screenshot of the editor with the sample map: $screenshot"
