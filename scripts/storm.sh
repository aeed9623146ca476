#!/usr/bin/env bash
# Runs the storm of mixed input against the real main window under Wine, as
# long as asked: scripts/storm.sh [ACTIONS] [SEED] (default 20000 actions,
# seed 1). Ends with its summary line (actions, steps, seconds); on a fault,
# with the seed, the fewest last actions that still go wrong when replayed
# alone, and the variables that replay them (VALTEA_STORM_FROM). The test
# command runs a short one.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

actions=${1:-20000}
seed=${2:-1}

"$root/scripts/install-deps.sh"
configure_tree win -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake"
build_tree win win_storm_test >/dev/null

ensure_wine_prefix
set_window_management unmanaged
start_wineserver
cd "$build/win"
VALTEA_STORM_ACTIONS=$actions VALTEA_STORM_SEED=$seed LANG=ja_JP.UTF-8 \
  xvfb-run -a -s "-screen 0 1920x1200x24" "$wine_loader" tests/win_storm_test.exe \
  --gtest_filter=Storm.* --gtest_brief=1
