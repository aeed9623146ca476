#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, once: quick when all
# is present. Needs root for apt-get; otherwise says what to install and stops.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev libstb-dev
  zlib1g-dev libz-mingw-w64-dev nlohmann-json3-dev libboost-dev
  tiled
  g++-mingw-w64-x86-64-posix
  wine64 fonts-wine xvfb xauth
  locales fonts-ipafont-gothic
  zip unzip time
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

# Node.js runs the independent BPS implementation the tests check our patches
# with. A machine may have it from elsewhere than Debian: then it is kept.
if ! command -v node >/dev/null 2>&1 || ! command -v npm >/dev/null 2>&1; then
  missing+=(nodejs npm)
fi

locale_missing=false
locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$' || locale_missing=true

if [[ ${#missing[@]} -eq 0 && $locale_missing == false ]]; then
  exit 0
fi

if [[ $(id -u) -ne 0 ]]; then
  echo "Some of what the build needs is missing. Run this as root, or install it yourself:" >&2
  [[ ${#missing[@]} -gt 0 ]] && echo "  apt-get install --no-install-recommends ${missing[*]}" >&2
  [[ $locale_missing == true ]] && echo "  sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen && locale-gen" >&2
  exit 1
fi

if [[ ${#missing[@]} -gt 0 ]]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if [[ $locale_missing == true ]] || ! locale -a | grep -qi '^ja_JP\.utf-\?8$'; then
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null ||
    echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
