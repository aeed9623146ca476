# Sourced by the scripts that draw the README's pictures: builds valtea-map
# and valtea_crop_png in the host tree of scripts/test.sh, names them, and
# gives a work folder that goes at exit.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"

configure_tree host -DCMAKE_BUILD_TYPE=Debug -DVALTEA_SANITIZE=ON
build_tree host valtea-map valtea_crop_png >/dev/null
valtea_map="$build/host/src/cli/valtea-map"
crop="$build/host/tools/valtea_crop_png"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
