#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12; does nothing when all is there.
set -euo pipefail
packages=(cmake g++ make python3 libgtest-dev mingw-w64 wine64 xvfb xauth fonts-wqy-zenhei imagemagick xdotool
          unicode-data locales fonts-wine ccache clang libclang-rt-14-dev)
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

# The 32-bit Windows program runs under the i386 Wine. Its i386 libraries must be the same
# versions as their amd64 twins, so installing it brings those amd64 libraries up to the versions
# of Debian's archive (the distribution's own point-release and security updates). A plan that
# would remove a package is not carried out.
install32() {  # plans, then installs; returns 2 when the plan cannot be carried out
  local plan log
  plan=$($sudo apt-get install -s -q --no-install-recommends wine32:i386 2>&1) || return 1
  if grep -q '^Remv ' <<<"$plan"; then
    echo "installing wine32:i386 would remove packages; not done:" >&2
    grep '^Remv ' <<<"$plan" >&2
    return 2
  fi
  log=$(mktemp)
  if ! $sudo apt-get install -y -q --no-install-recommends wine32:i386 >"$log" 2>&1; then
    tail -n 20 "$log" >&2
    rm -f "$log"
    return 1
  fi
  rm -f "$log"
  # "Inst NAME [INSTALLED] (NEW ...)": a package of the machine brought to the archive's version.
  local upgraded
  upgraded=$(sed -n 's/^Inst \([^ ]*\) \[[^]]*\] .*/\1/p' <<<"$plan" | sort | tr '\n' ' ')
  echo "installed wine32:i386; upgraded $(wc -w <<<"$upgraded") packages to the archive's versions: ${upgraded% }"
}
if ! installed wine32:i386; then
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
  # Lists without i386, or older than the archive: fetched once more, then a second try.
  status=0
  install32 || status=$?
  if [ $status -eq 1 ]; then
    $sudo apt-get update -q >/dev/null 2>&1 || echo "apt-get update reported errors" >&2
    status=0
    install32 || status=$?
  fi
  if [ $status -ne 0 ]; then
    echo "wine32:i386 could not be installed: the 32-bit program cannot be run" >&2
    exit 1
  fi
fi

# Wine draws its message boxes, menus and dialogs in Chinese only under a Chinese locale.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN\.utf-\?8'; then
  echo "generating the locale zh_CN.UTF-8"
  $sudo sed -i 's/^# *\(zh_CN\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^zh_CN\.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
fi
