#!/usr/bin/env bash
# Checks a release zip as a player gets it:
#  - one folder named after the zip, holding the programs, README.txt,
#    LICENSE.txt and sample/MAPDATA.VLT, nothing else, in sorted order, all
#    with one time and without extra fields;
#  - README.txt and LICENSE.txt as Notepad reads them: UTF-8, BOM, CRLF;
#  - each .exe imports only DLLs that every Windows has, and has no build
#    time in its PE header.
# With --start-with SCREENSHOT_EXE [--screenshot PNG] it also unzips the zip
# into a fresh Wine prefix, far from the build tree, under a folder with a
# Japanese name, where the game folder holds the sample map; there the editor
# must show its main window and open the map (the screenshot tool of tools/
# does this and saves the picture), and valtea-map.exe, when it is there,
# must print its version.
# Exits non-zero with a message on the first failed check.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

# System DLLs of every Windows since 7. msvcrt.dll is Windows' own C
# runtime, not a Visual C++ redistributable; uxtheme.dll (visual styles) is
# there since XP, also with the classic look.
allowed_dlls=" advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll shell32.dll user32.dll uxtheme.dll "
map_size=26576

usage() {
  echo "usage: $0 ZIP [--start-with SCREENSHOT_EXE [--screenshot PNG]]" >&2
  exit 2
}
[[ $# -ge 1 ]] || usage
zip=$1
shift
screenshot_tool='' screenshot=''
while [[ $# -gt 0 ]]; do
  [[ $# -ge 2 ]] || usage
  case $1 in
    --start-with) screenshot_tool=$2 ;;
    --screenshot) screenshot=$2 ;;
    *) usage ;;
  esac
  shift 2
done

fail() {
  echo "$zip: $*" >&2
  exit 1
}

work=$(mktemp -d)
cleanup() {
  if [[ -n ${started_wineserver:-} ]]; then "$wineserver" -k 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

name=$(basename "$zip" -win64.zip)
[[ $name != "$(basename "$zip")" ]] || fail "the name does not end in -win64.zip"
version=${name##*-}

check_entries() {
  unzip -Z1 "$zip" >"$work/entries"
  LC_ALL=C sort "$work/entries" | cmp -s - "$work/entries" || fail "entries are not in sorted order"
  local expected=("$name/" "$name/LICENSE.txt" "$name/README.txt" "$name/ValteaRoadEditor.exe"
    "$name/sample/" "$name/sample/MAPDATA.VLT")
  grep -qx "$name/valtea-map.exe" "$work/entries" && expected+=("$name/valtea-map.exe")
  printf '%s\n' "${expected[@]}" | LC_ALL=C sort | diff - "$work/entries" >&2 ||
    fail "entries differ from the expected ones (- expected, + found)"
  [[ $(unzip -Z -T "$zip" | awk '$1 ~ /^[-d]/ {print $7}' | sort -u | wc -l) -eq 1 ]] ||
    fail "entries have different times"
  # Extra fields would hold the owner and Unix times of the machine that zipped.
  if unzip -Z -v "$zip" | grep -q 'length of extra field: *[1-9]'; then
    fail "entries carry extra fields"
  fi
}

check_notepad_text() {
  local file=$1
  [[ $(head -c 3 "$file" | od -An -tx1 | tr -d ' ') == efbbbf ]] || fail "$(basename "$file") has no UTF-8 BOM"
  iconv -f UTF-8 -t UTF-8 "$file" >/dev/null 2>&1 || fail "$(basename "$file") is not UTF-8"
  [[ $(tail -c 2 "$file" | od -An -tx1 | tr -d ' ') == 0d0a ]] || fail "$(basename "$file") does not end in CRLF"
  if LC_ALL=C grep -q $'[^\r]$' "$file" || LC_ALL=C grep -q $'^$' "$file"; then
    fail "$(basename "$file") has a line that does not end in CRLF"
  fi
}

check_texts() {
  check_notepad_text "$work/$name/README.txt"
  check_notepad_text "$work/$name/LICENSE.txt"
  grep -q "Ver $version" "$work/$name/README.txt" || fail "README.txt does not name Ver $version"
  if [[ -f "$work/$name/valtea-map.exe" ]]; then
    grep -q 'valtea-map' "$work/$name/README.txt" || fail "README.txt says nothing of valtea-map.exe"
  elif grep -q 'valtea-map' "$work/$name/README.txt"; then
    fail "README.txt describes valtea-map.exe, which is not in the zip"
  fi
  [[ $(stat -c %s "$work/$name/sample/MAPDATA.VLT") -eq $map_size ]] || fail "the sample map is not $map_size bytes"
}

# The TimeDateStamp field of the PE file header, 8 bytes after "PE\0\0".
pe_timestamp() {
  local header
  header=$(od -An -tu4 -j 60 -N 4 "$1" | tr -d ' ')
  od -An -tu4 -j $((header + 8)) -N 4 "$1" | tr -d ' '
}

check_programs() {
  local program dll
  for program in "$work/$name"/*.exe; do
    x86_64-w64-mingw32-objdump -p "$program" >"$work/headers" || fail "$(basename "$program") is no PE file"
    while read -r dll; do
      [[ $allowed_dlls == *" ${dll,,} "* ]] || fail "$(basename "$program") imports $dll, which is not on every Windows"
    done < <(sed -n 's/^\s*DLL Name: //p' "$work/headers")
    grep -q 'DLL Name: KERNEL32.dll' "$work/headers" || fail "$(basename "$program"): no imports found"
    [[ $(pe_timestamp "$program") -eq 0 ]] || fail "$(basename "$program") has a build time in its PE header"
  done
}

windows_path() { echo "Z:${1//\//\\}"; }

# A prefix of its own, made for this check and thrown away after it.
start_in_fresh_prefix() {
  export WINEPREFIX="$work/prefix"
  export LANG=ja_JP.UTF-8
  ensure_wine_prefix
  set_window_management unmanaged
  "$wineserver" -p
  started_wineserver=1

  local downloads="$WINEPREFIX/drive_c/ダウンロード"
  local game_folder="$WINEPREFIX/drive_c/Program Files/Corvane/Valtea"
  mkdir -p "$downloads" "$game_folder"
  unzip -q "$zip" -d "$downloads"
  cp "$downloads/$name/sample/MAPDATA.VLT" "$game_folder/"

  local picture=${screenshot:-$work/screenshot.png}
  # Wine's desktop outlives the virtual display and complains when it goes:
  # its output is shown only when the start failed.
  xvfb-run -a -s "-screen 0 1024x768x24" "$wine_loader" "$screenshot_tool" \
    "C:\\ダウンロード\\$name\\ValteaRoadEditor.exe" "$(windows_path "$(realpath -m "$picture")")" --open \
    >"$work/start.log" 2>&1 ||
    fail "the editor did not show its main window with the sample map in a fresh Wine prefix: $(cat "$work/start.log")"
  [[ -s $picture ]] || fail "no screenshot of the editor"

  if [[ -f "$downloads/$name/valtea-map.exe" ]]; then
    # Through a file: Wine's background processes would hold a pipe open.
    "$wine_loader" "C:\\ダウンロード\\$name\\valtea-map.exe" --version </dev/null >"$work/printed" 2>&1 ||
      fail "valtea-map.exe --version failed in a fresh Wine prefix: $(cat "$work/printed")"
    local printed
    printed=$(tr -d '\r' <"$work/printed")
    [[ $printed == "valtea-map $version" ]] ||
      fail "valtea-map.exe --version printed \"$printed\", not \"valtea-map $version\""
  fi
}

[[ -f $zip ]] || fail "no such file"
check_entries
unzip -q "$zip" -d "$work"
check_texts
check_programs
if [[ -n $screenshot_tool ]]; then
  start_in_fresh_prefix
fi
echo "$zip: checked$([[ -n $screenshot_tool ]] && echo ', started in a fresh Wine prefix')"
