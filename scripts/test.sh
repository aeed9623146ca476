#!/usr/bin/env bash
# Builds everything and runs every test: the platform-free layers natively
# with sanitizers, the fuzzer for a few seconds, and the Windows program and
# its tests under Wine on a virtual display. Exits non-zero on any failure.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

"$root/scripts/install-deps.sh"
ensure_interop_tools

configure_tree host -DCMAKE_BUILD_TYPE=Debug -DVALTEA_SANITIZE=ON
configure_tree fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DVALTEA_TESTS=OFF -DVALTEA_FUZZ=ON
configure_tree win -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake"

status=0
for tree in host fuzz win; do
  echo "Building $tree..."
  build_tree "$tree" || status=1
done
[[ $status -eq 0 ]] || { echo "Build failed." >&2; exit 1; }

# One CTest run over all three trees, so that one summary ends the output.
cat > "$build/CTestTestfile.cmake" <<'TESTS'
subdirs("host")
subdirs("fuzz")
subdirs("win")
TESTS

ensure_wine_prefix
set_window_management unmanaged
start_wineserver
cd "$build"
# A screen a player's might be, large enough for the main window at 144 dpi.
LANG=ja_JP.UTF-8 xvfb-run -a -s "-screen 0 1920x1200x24" \
  ctest --output-on-failure --parallel 2 "$@"
