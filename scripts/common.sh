# Shared by the scripts: where the build trees are and how to make them.
# Source it; it sets `root`, `build` and the helpers below.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"
wine_loader=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

# configure_tree NAME [cmake options...]: configures build/NAME once, then only builds.
configure_tree() {
  local name=$1
  shift
  if [[ ! -f "$build/$name/build.ninja" ]]; then
    cmake -G Ninja -S "$root" -B "$build/$name" -Wno-dev "$@" >/dev/null
  fi
}

build_tree() {
  cmake --build "$build/$1" -- -k 0 "${@:2}"
}

# The win tree's Wine prefix, created on first use; its own, never the user's.
export WINEPREFIX="$build/win/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="

ensure_wine_prefix() {
  if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    echo "Creating the Wine prefix $WINEPREFIX (once)..."
    LANG=ja_JP.UTF-8 xvfb-run -a "$wine_loader" wineboot -i >/dev/null 2>&1 || true
    "$wineserver" -w
  fi
  # Wine draws the title bar's buttons with its own Marlett font. Debian ships
  # it in fonts-wine, but Wine 8 looks for fonts in the prefix's Fonts folder
  # only; without it the buttons show as the letters "0 1 r".
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [[ -d "$fonts" && ! -f "$fonts/marlett.ttf" ]]; then
    cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
  fi
}

# On a virtual display there is no window manager, and Wine waits two seconds
# for one whenever a window is hidden or destroyed. Windows that Wine does not
# hand to a window manager are taken down at once; on a real desktop they are
# handed over, so that they get its frames and its taskbar.
# set_window_management managed|unmanaged
set_window_management() {
  local marker="$WINEPREFIX/.windows-$1"
  [[ -f "$marker" ]] && return
  if [[ $1 == unmanaged ]]; then
    "$wine_loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  else
    "$wine_loader" reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
  fi
  "$wineserver" -w
  rm -f "$WINEPREFIX"/.windows-*
  touch "$marker"
}

# One persistent wineserver for the run: each Windows program then starts in
# a tenth of a second instead of several.
start_wineserver() {
  "$wineserver" -p
  trap '"$wineserver" -k 2>/dev/null || true' EXIT
}

# The npm package bps, an independent BPS implementation, at the version the
# lock file names, in tests/interop/node_modules: once, then only checked.
# Without the registry the interop test says it is skipped.
ensure_interop_tools() {
  local folder="$root/tests/interop"
  [[ -f "$folder/node_modules/bps/package.json" ]] && return 0
  echo "Installing the npm package bps for the interop tests..."
  (cd "$folder" && npm ci --no-audit --no-fund --loglevel=error >/dev/null) ||
    echo "Could not install bps from the npm registry: its interop test will be skipped." >&2
}
