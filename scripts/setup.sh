#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12; does nothing when all is there.
set -euo pipefail
packages=(cmake g++ make python3 libgtest-dev mingw-w64 wine64 xvfb xauth fonts-wqy-zenhei imagemagick xdotool
          unicode-data)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
