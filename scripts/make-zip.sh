#!/usr/bin/env bash
# Puts the release zip together: one folder holding the programs, the
# player's guide, the licence and the sample map.
#
#   make-zip.sh --output ZIP --folder NAME --version VERSION --sample MAP
#               --program EXE... --guide TEXT... --licence TEXT...
#
# The same inputs always give the same bytes:
#  - every entry has the same time: that of the last commit, or
#    SOURCE_DATE_EPOCH when it is set;
#  - the entries are stored in the byte order of their names;
#  - modes are fixed, and no owner or Unix times are stored.
# The texts are for Windows Notepad: UTF-8 with a BOM and CRLF line ends.
# Several --guide texts make one README.txt, several --licence texts one
# LICENSE.txt, in the order given. In them "@VERSION@" becomes the version,
# and a line that starts with "@NAME.exe@" stays, without that mark, only
# when the zip holds the program NAME.exe.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

usage() {
  echo "usage: $0 --output ZIP --folder NAME --version VERSION --sample MAP --program EXE... --guide TEXT... --licence TEXT..." >&2
  exit 2
}

output='' folder='' version='' sample=''
programs=() guides=() licences=()
while [[ $# -gt 0 ]]; do
  [[ $# -ge 2 ]] || usage
  case $1 in
    --output) output=$2 ;;
    --folder) folder=$2 ;;
    --version) version=$2 ;;
    --sample) sample=$2 ;;
    --program) programs+=("$2") ;;
    --guide) guides+=("$2") ;;
    --licence) licences+=("$2") ;;
    *) usage ;;
  esac
  shift 2
done
[[ -n $output && -n $folder && -n $version && -n $sample ]] || usage
[[ ${#programs[@]} -gt 0 && ${#guides[@]} -gt 0 && ${#licences[@]} -gt 0 ]] || usage

epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || true)}
[[ $epoch =~ ^[0-9]+$ ]] || { echo "$0: no commit time; set SOURCE_DATE_EPOCH" >&2; exit 2; }

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

shipped=''
for program in "${programs[@]}"; do
  shipped+="$(basename "$program") "
done

# for_this_zip TEXT: the text with the version and the lines of the shipped programs.
for_this_zip() {
  awk -v version="$version" -v shipped="$shipped" '
    BEGIN { split(shipped, names, " "); for (i in names) present[names[i]] = 1 }
    match($0, /^@[^@ ]+\.exe@/) {
      if (!(substr($0, 2, RLENGTH - 2) in present)) next
      $0 = substr($0, RLENGTH + 1)
    }
    { gsub(/@VERSION@/, version); print }' "$1"
}

# notepad_text OUT TEXT...: the texts one after the other, with a BOM and CRLF.
notepad_text() {
  local out=$1
  shift
  {
    printf '\xEF\xBB\xBF'
    local first=true
    for text in "$@"; do
      $first || printf '\r\n'
      first=false
      for_this_zip "$text" | sed -e 's/\r$//' -e 's/$/\r/'
    done
  } >"$out"
}

top="$stage/$folder"
mkdir -p "$top/sample"
for program in "${programs[@]}"; do
  cp "$program" "$top/"
done
cp "$sample" "$top/sample/MAPDATA.VLT"
notepad_text "$top/README.txt" "${guides[@]}"
notepad_text "$top/LICENSE.txt" "${licences[@]}"

find "$top" -type d -exec chmod 0755 {} +
find "$top" -type f -exec chmod 0644 {} +
find "$top" -exec touch -h -d "@$epoch" {} +

mkdir -p "$(dirname "$output")"
# zip keeps the order of the names it is given; without -r it adds the
# folders as entries of their own. DOS times are local: UTC here.
(cd "$stage" && find "$folder" | LC_ALL=C sort | TZ=UTC zip -q -X -9 -@ "$stage/out.zip")
mv -f "$stage/out.zip" "$output"
