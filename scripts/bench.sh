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

ensure_wine_prefix
set_window_management unmanaged
start_wineserver
export LANG=ja_JP.UTF-8
for program in "$build"/win/bench/*_bench.exe; do
  echo "== $(basename "$program") (Wine)"
  xvfb-run -a -s "-screen 0 1280x1024x24" "$build/win/wine-run" "$program"
done
