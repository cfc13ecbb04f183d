# Sourced by the Wine scripts: the Windows build, a Wine prefix of our own, and Xvfb when
# there is no display. Nothing here touches the user's own Wine prefix.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_WIN32=${BUILD_WIN32:-$ROOT/build-win32}
export WINEPREFIX=${VELBROOK_WINEPREFIX:-$BUILD_WIN32/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installers (the program needs neither, and they would be downloaded), and no
# menu entries or file associations written into the XDG folders of the machine.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}
WINE=$(command -v wine64 || true)
[ -z "$WINE" ] && [ -x /usr/lib/wine/wine64 ] && WINE=/usr/lib/wine/wine64
[ -z "$WINE" ] && WINE=$(command -v wine || true)
WINESERVER=$(command -v wineserver || true)
[ -z "$WINESERVER" ] && [ -x /usr/lib/wine/wineserver ] && WINESERVER=/usr/lib/wine/wineserver
if [ -z "$WINE" ]; then
  echo "wine64 is not installed (apt-get install wine64)" >&2
  exit 1
fi

build_win32() {
  # A build folder configured for another compiler (an older toolchain file) is configured anew.
  if [ -f "$BUILD_WIN32/CMakeCache.txt" ] &&
     ! grep -qs 'g++-posix' "$BUILD_WIN32"/CMakeFiles/*/CMakeCXXCompiler.cmake; then
    rm -rf "$BUILD_WIN32/CMakeCache.txt" "$BUILD_WIN32/CMakeFiles"
  fi
  if [ -f "$BUILD_WIN32/CMakeCache.txt" ]; then
    cmake "$BUILD_WIN32" >/dev/null
  else
    cmake -S "$ROOT" -B "$BUILD_WIN32" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" >/dev/null
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
# Starts Xvfb when no display is set; stop_display ends it again.
ensure_display() {
  if [ -n "${DISPLAY:-}" ]; then return; fi
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1920x1200x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && return
      sleep 0.1
    done
  done
  echo "could not start Xvfb" >&2
  exit 1
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
