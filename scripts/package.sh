#!/usr/bin/env bash
# Makes the zip that players download, from a clean configure of the Windows
# tree: build/dist/ValteaRoadEditor-<version>-win64.zip and a .sha256 file
# beside it. Then checks it before anybody gets it:
#  - scripts/check-package.sh, including a start of the editor in a fresh
#    Wine prefix;
#  - a second clean build, in a folder of another name and length, must give
#    the same zip byte for byte.
# Exits non-zero when a check fails; the zip is then not to be published.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

"$root/scripts/install-deps.sh"

# clean_build FOLDER TARGET...: configures and builds FOLDER from nothing.
clean_build() {
  local tree=$1
  shift
  rm -rf "$tree"
  cmake -G Ninja -S "$root" -B "$tree" -Wno-dev -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DVALTEA_TESTS=OFF >/dev/null
  cmake --build "$tree" --target "$@"
}

# The one zip that the dist target of a tree wrote.
zip_of() {
  local zips=("$1"/dist/ValteaRoadEditor-*-win64.zip)
  [[ ${#zips[@]} -eq 1 && -f ${zips[0]} ]] || { echo "no single zip in $1/dist" >&2; exit 1; }
  echo "${zips[0]}"
}

if [[ -n $(git -C "$root" status --porcelain 2>/dev/null) ]]; then
  echo "Warning: the working tree has uncommitted changes; the zip holds them, but its file times are the last commit's." >&2
fi

tree="$build/package"
echo "Building the release from a clean configure in $tree..."
clean_build "$tree" dist ValteaScreenshot
built=$(zip_of "$tree")

dist="$build/dist"
mkdir -p "$dist"
zip="$dist/$(basename "$built")"
cp "$built" "$zip"
(cd "$dist" && sha256sum "$(basename "$zip")" >"$(basename "$zip").sha256")

echo "Checking $zip..."
"$root/scripts/check-package.sh" "$zip" --start-with "$tree/tools/ValteaScreenshot.exe" \
  --screenshot "$tree/check-screenshot.png"

again="$build/package-reproduced"
echo "Building it again in $again, to compare..."
clean_build "$again" dist
if ! cmp "$zip" "$(zip_of "$again")"; then
  echo "Two clean builds gave different zips. Entries (- first, + second):" >&2
  diff <(unzip -Z -v "$zip" | grep -E '^(Central directory entry|  file last modified|  32-bit CRC)') \
    <(unzip -Z -v "$(zip_of "$again")" | grep -E '^(Central directory entry|  file last modified|  32-bit CRC)') >&2 || true
  exit 1
fi
rm -rf "$again"

echo "Reproduced byte for byte. The release:"
echo "  $zip"
echo "  $(cat "$zip.sha256")"
