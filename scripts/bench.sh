#!/usr/bin/env bash
# Builds the benchmarks and prints their figures: the platform-free ones
# natively in an optimised tree, the Windows ones under Wine.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

"$root/scripts/install-deps.sh"
configure_tree bench -DCMAKE_BUILD_TYPE=Release -DVALTEA_TESTS=OFF -DVALTEA_BENCHMARKS=ON
configure_tree win -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake"
build_tree bench
build_tree win

for program in "$build"/bench/bench/*_bench; do
  echo "== $(basename "$program")"
  "$program"
done

# render beside Tiled's own renderer, on the same map in the same run: the
# sample map at scale 16, and tmxrasterizer on its Tiled export, which draws
# the same hexagons with render's own tiles.
compare_with_tiled() {
  local tmxrasterizer valtea_map="$build/bench/src/cli/valtea-map" work
  tmxrasterizer=$(command -v tmxrasterizer) || { echo "== render beside tmxrasterizer: skipped, Tiled is not installed"; return; }
  work=$(mktemp -d)
  cp "$root/samples/MAPDATA.VLT" "$work/"
  "$valtea_map" export "$work/MAPDATA.VLT" "$work/map.tmj" >/dev/null
  echo "== render --scale 16 beside tmxrasterizer (Tiled), sample map, medians of 5"
  local name seconds memory
  for name in render tmxrasterizer; do
    seconds=() memory=()
    for _ in 1 2 3 4 5; do
      if [[ $name == render ]]; then
        /usr/bin/time -o "$work/time" -f "%e %M" "$valtea_map" render "$work/MAPDATA.VLT" "$work/render.png" --scale 16 >/dev/null
      else
        QT_QPA_PLATFORM=offscreen /usr/bin/time -o "$work/time" -f "%e %M" "$tmxrasterizer" "$work/map.tmj" "$work/tmxrasterizer.png" 2>/dev/null
      fi
      read -r s m < "$work/time"
      seconds+=("$s") memory+=("$m")
    done
    printf '%-14s %6s s   peak %7s KB   PNG %9s bytes\n' "$name" \
      "$(printf '%s\n' "${seconds[@]}" | sort -n | sed -n 3p)" "$(printf '%s\n' "${memory[@]}" | sort -n | sed -n 3p)" \
      "$(stat -c %s "$work/$name.png")"
  done
  rm -rf "$work"
}
compare_with_tiled

ensure_wine_prefix
set_window_management unmanaged
start_wineserver
export LANG=ja_JP.UTF-8
for program in "$build"/win/bench/*_bench.exe; do
  echo "== $(basename "$program") (Wine)"
  xvfb-run -a -s "-screen 0 1280x1024x24" "$build/win/wine-run" "$program"
done
