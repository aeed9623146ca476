#!/usr/bin/env bash
# The release zip made from this tree's programs (arguments: those of
# scripts/make-zip.sh without --output):
#  - made twice, once with another umask, it is byte for byte the same;
#  - every entry has the time it was given, whatever the files' own times;
#  - scripts/check-package.sh accepts it, and rejects a zip with unsorted
#    entries, a guide with bare LF line ends, or a program that imports a
#    DLL from outside its allowlist.
set -euo pipefail
scripts="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts" && pwd)"

folder=''
arguments=("$@")
for ((i = 0; i < ${#arguments[@]} - 1; ++i)); do
  [[ ${arguments[i]} == --folder ]] && folder=${arguments[i + 1]}
done
[[ -n $folder ]] || { echo "usage: $0 --folder NAME ... (the arguments of make-zip.sh)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
failed() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}

# 2023-11-14 22:13:20 UTC
export SOURCE_DATE_EPOCH=1700000000
zip="$work/first/$folder-win64.zip"
bash "$scripts/make-zip.sh" --output "$zip" "$@"
(umask 077 && bash "$scripts/make-zip.sh" --output "$work/second/$folder-win64.zip" "$@")

cmp "$zip" "$work/second/$folder-win64.zip" || failed "two zips of the same programs differ"

times=$(unzip -Z -T "$zip" | awk '$1 ~ /^[-d]/ {print $7}' | sort -u)
[[ $times == 20231114.221320 ]] || failed "entry times are '$times', not 20231114.221320"

bash "$scripts/check-package.sh" "$zip" || failed "check-package.sh rejects the zip"

# rezip FOLDER ZIP [sort option]: the folder zipped again, as make-zip.sh does.
rezip() {
  find "$1" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
  (cd "$(dirname "$1")" && find "$(basename "$1")" | LC_ALL=C sort ${3:-} | TZ=UTC zip -q -X -@ "$2")
}

# expect_rejected ZIP REASON: check-package.sh must fail with REASON in its message.
expect_rejected() {
  if bash "$scripts/check-package.sh" "$1" 2>"$work/message"; then
    failed "check-package.sh accepts a zip with $2"
  elif ! grep -q "$2" "$work/message"; then
    failed "check-package.sh rejects a zip with $2 for another reason: $(cat "$work/message")"
  fi
}

broken="$work/broken"
fresh_copy() {
  rm -rf "$broken"
  mkdir -p "$broken/$1"
  unzip -q "$zip" -d "$broken/$1"
}

fresh_copy unsorted
rezip "$broken/unsorted/$folder" "$broken/unsorted/$folder-win64.zip" -r
expect_rejected "$broken/unsorted/$folder-win64.zip" "sorted order"

fresh_copy bare-lf
sed -i 's/\r$//' "$broken/bare-lf/$folder/README.txt"
rezip "$broken/bare-lf/$folder" "$broken/bare-lf/$folder-win64.zip"
expect_rejected "$broken/bare-lf/$folder-win64.zip" "does not end in CRLF"

# The same length, so that the import table stays intact.
fresh_copy import
perl -pi -e 's/msvcrt\.dll/vcrt14\.dll/g' "$broken/import/$folder/ValteaRoadEditor.exe"
rezip "$broken/import/$folder" "$broken/import/$folder-win64.zip"
expect_rejected "$broken/import/$folder-win64.zip" "imports vcrt14.dll"

[[ $failures -eq 0 ]] || exit 1
echo "release zip: reproducible, checked, and broken zips are rejected"
