#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12; does nothing when all is there.
set -euo pipefail
packages=(cmake g++ make python3 libgtest-dev mingw-w64 wine64 xvfb xauth fonts-wqy-zenhei imagemagick xdotool
          unicode-data locales fonts-wine)
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed"; }
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
missing=()
for p in "${packages[@]}"; do
    installed "$p" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    # A foreign architecture's lists may fail to fetch; what the install needs is then still there.
    $sudo apt-get update -q || echo "apt-get update reported errors; installing from the lists it has" >&2
    $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The 32-bit Windows program runs under the i386 Wine. Its libraries must be the same versions
# as the amd64 ones already installed. It is installed only where the archive gives exactly
# those: a test setup does not upgrade or remove the machine's own libraries. Elsewhere the
# 32-bit program is built and checked but not run (scripts/wine-tests.sh says so).
if ! installed wine32:i386; then
    dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
    # The simulated install: an "Inst" of an installed package names its version in brackets.
    plan32() { $sudo apt-get install -s -q --no-install-recommends wine32:i386 2>/dev/null; }
    fits32() { local p; p=$(plan32) && ! grep -Eq '^(Inst [^ ]+ \[|Remv )' <<<"$p"; }
    if fits32 || { $sudo apt-get update -q >/dev/null 2>&1 || true; fits32; }; then
        $sudo apt-get install -y -q --no-install-recommends wine32:i386
    else
        echo "wine32:i386 needs other versions of this system's amd64 libraries than are installed: the 32-bit program will not run" >&2
    fi
fi

# Wine draws its message boxes, menus and dialogs in Chinese only under a Chinese locale.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN\.utf-\?8'; then
  echo "generating the locale zh_CN.UTF-8"
  $sudo sed -i 's/^# *\(zh_CN\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^zh_CN\.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
fi
