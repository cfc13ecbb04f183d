# Sourced by the Wine scripts: the Windows build, a Wine prefix of our own, and Xvfb when
# there is no display. Nothing here touches the user's own Wine prefix.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_WIN32=${BUILD_WIN32:-$ROOT/build-win32}
export WINEPREFIX=${VELBROOK_WINEPREFIX:-$BUILD_WIN32/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# Wine takes its code page (936, as a Chinese Windows has) and the fonts of its own message boxes,
# menus and dialogs from the locale, which scripts/setup.sh generates.
if locale -a 2>/dev/null | grep -qix 'zh_CN\.utf-\?8'; then
  export LC_ALL=zh_CN.UTF-8
else
  echo "the locale zh_CN.UTF-8 is missing (scripts/setup.sh): Wine's dialogs will show boxes" >&2
fi
# No Mono or Gecko installers (the program needs neither, and they would be downloaded), and no
# menu entries or file associations written into the XDG folders of the machine.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}
# The 32-bit program (VELBROOK_WINE32=1) runs under the i386 Wine, in a 32-bit prefix of its own.
TOOLCHAIN=$ROOT/cmake/mingw-w64.cmake
if [ "${VELBROOK_WINE32:-}" = 1 ]; then
  TOOLCHAIN=$ROOT/cmake/mingw-w64-i686.cmake
  export WINEARCH=win32
  WINE=
  [ -x /usr/lib/wine/wine ] && WINE=/usr/lib/wine/wine
else
  WINE=$(command -v wine64 || true)
  [ -z "$WINE" ] && [ -x /usr/lib/wine/wine64 ] && WINE=/usr/lib/wine/wine64
  [ -z "$WINE" ] && WINE=$(command -v wine || true)
fi
WINESERVER=$(command -v wineserver || true)
[ -z "$WINESERVER" ] && [ -x /usr/lib/wine/wineserver ] && WINESERVER=/usr/lib/wine/wineserver
if [ -z "$WINE" ] && [ "${VELBROOK_WINE32:-}" != 1 ]; then
  echo "wine64 is not installed (apt-get install wine64)" >&2
  exit 1
fi

build_win32() {
  # A build folder configured for another compiler (an older toolchain file) is configured anew.
  local compiler
  compiler=$(sed -n 's/^set(CMAKE_CXX_COMPILER \(.*\))$/\1/p' "$TOOLCHAIN")
  if [ -f "$BUILD_WIN32/CMakeCache.txt" ] &&
     ! grep -qs "$compiler" "$BUILD_WIN32"/CMakeFiles/*/CMakeCXXCompiler.cmake; then
    rm -rf "$BUILD_WIN32/CMakeCache.txt" "$BUILD_WIN32/CMakeFiles"
  fi
  if [ -f "$BUILD_WIN32/CMakeCache.txt" ]; then
    cmake "$BUILD_WIN32" >/dev/null
  else
    cmake -S "$ROOT" -B "$BUILD_WIN32" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" >/dev/null
  fi
  cmake --build "$BUILD_WIN32" -j"$(nproc)" --target "$@"
}

# Creates the prefix once; later runs reuse it.
ensure_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    local start=$SECONDS
    "$WINE" wineboot -i >/dev/null 2>&1 || true
    "$WINESERVER" -w 2>/dev/null || true
    echo "Wine prefix created in $((SECONDS - start)) s: $WINEPREFIX" >&2
  fi
  use_system_fonts
}

# The fonts of Wine's own message boxes, menus, dialogs and title bars. The title bar's buttons
# are letters of Marlett (fonts-wine). The faces the dialogs and menus ask for become the Chinese
# face that draws every stroke, at 9 points as on a Chinese Windows: at Wine's 8 points (11 pixels
# at 96 DPI) it drops strokes, 下 reads 卜. A new code page rewrites some of these names as the
# first process starts, hence the second round.
use_system_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ ! -e "$fonts/marlett.ttf" ]; then
    mkdir -p "$fonts"
    ln -s /usr/share/wine/fonts/marlett.ttf "$fonts/marlett.ttf"
  fi
  local round face metric
  for round in 1 2; do
    grep -q '^"MS Shell Dlg"="WenQuanYi Zen Hei Sharp"' "$WINEPREFIX/system.reg" 2>/dev/null &&
      grep -q '^"MessageFont"=hex:09,00,00,00' "$WINEPREFIX/user.reg" 2>/dev/null && return
    for face in "MS Shell Dlg" "MS Shell Dlg 2" Tahoma; do
      "$WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v "$face" \
        /d "WenQuanYi Zen Hei Sharp" /f >/dev/null 2>&1 || true
    done
    for metric in CaptionFont SmCaptionFont MenuFont StatusFont MessageFont IconFont; do
      "$WINE" reg add 'HKCU\Control Panel\Desktop\WindowMetrics' /v $metric /t REG_BINARY \
        /d "$(logfont_hex "MS Shell Dlg" 9 "$([ $metric = CaptionFont ] && echo 700 || echo 400)")" \
        /f >/dev/null 2>&1 || true
    done
    "$WINESERVER" -w 2>/dev/null || true
  done
}

# A LOGFONTW as the registry holds it, in hex: logfont_hex FACE POINTS WEIGHT (a positive
# height is in points, scaled to the screen's dots per inch).
logfont_hex() {
  local hex i
  hex=$(printf '%02x000000%024d%02x%02x0000' "$2" 0 $(($3 & 255)) $(($3 >> 8)))
  hex+="00000001""00000000"  # not italic, underlined or struck out; DEFAULT_CHARSET
  for ((i = 0; i < 32; i++)); do
    if [ $i -lt ${#1} ]; then hex+=$(printf '%02x00' "'${1:i:1}"); else hex+=0000; fi
  done
  echo "$hex"
}

# Test sessions run every window inside one Wine virtual desktop. Without a window manager
# (Xvfb), Wine waits about 2 s for one to answer whenever a top-level window closes; inside a
# virtual desktop only the desktop itself is an X window, so nothing waits. Call while no Wine
# server runs for the prefix: the desktop's size is read when the session starts.
# The desktop is the common 1920 x 1080 screen, where at 150 % (144 DPI) the window fits only
# when placed with care.
use_virtual_desktop() {
  if ! grep -q '^"Default"="1920x1080"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1920x1080 /f >/dev/null 2>&1
    "$WINESERVER" -w 2>/dev/null || true
  fi
}

# The screen's dots per inch for the sessions that start from now on (96 = 100 %, 144 = 150 %):
# set_dpi N. Programs read it as the session starts, so call it while no server runs.
set_dpi() {
  "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  "$WINE" reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
    /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  "$WINESERVER" -w 2>/dev/null || true
}

# Shows a Linux folder as a Wine drive: map_drive LETTER DIR. The drive list is read when the
# session starts, so call it while no Wine server runs for the prefix.
map_drive() {
  ln -sfn "$2" "$WINEPREFIX/dosdevices/$1:"
}

XVFB_PID=
# Starts Xvfb when no display is set; stop_display ends it again. Xvfb takes the first free
# display number itself and writes it once it accepts connections, so runs side by side (and
# other users' servers) never share a display.
ensure_display() {
  if [ -n "${DISPLAY:-}" ]; then return; fi
  local ready
  ready=$(mktemp -u /tmp/velbrook-xvfb.XXXXXX)
  mkfifo "$ready"
  Xvfb -displayfd 3 -screen 0 2560x1600x24 -nolisten tcp 3>"$ready" >/dev/null 2>&1 &
  XVFB_PID=$!
  local n=
  read -r n <"$ready" || true
  rm -f "$ready"
  if [ -z "$n" ]; then
    echo "could not start Xvfb" >&2
    exit 1
  fi
  export DISPLAY=":$n"
}

stop_display() {
  "$WINESERVER" -k 2>/dev/null || true
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
    unset DISPLAY
  fi
}

# Waits up to $1 seconds for the screen to show more than the empty desktop.
wait_for_window() {
  local i
  for i in $(seq $(($1 * 4))); do
    local colours
    colours=$(import -window root -crop 200x200+60+60 -format '%k' info: 2>/dev/null || echo 0)
    [ "${colours:-0}" -gt 4 ] && return 0
    sleep 0.25
  done
  return 1
}
