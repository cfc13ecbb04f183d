#!/usr/bin/env bash
# Builds Velbrook.exe and starts it under Wine. On a display it runs until closed; with no
# display it runs on Xvfb, saves a screenshot of the main window, prints its path and stops.
set -euo pipefail
# Installs what is missing first: wine-env.sh stops at once when Wine is not there.
"$(dirname "$0")/setup.sh"
source "$(dirname "$0")/wine-env.sh"
build_win32 Velbrook >/dev/null
ensure_prefix
EXE="$BUILD_WIN32/Velbrook.exe"

if [ -n "${DISPLAY:-}" ]; then
  exec "$WINE" "$EXE" "$@"
fi

ensure_display
trap stop_display EXIT
SHOT="$BUILD_WIN32/screenshots/main-window.png"
mkdir -p "$(dirname "$SHOT")"
# A Wine desktop window gives the program a title bar without a window manager.
"$WINE" explorer /desktop=velbrook,1024x768 "$EXE" "$@" >/dev/null 2>&1 &
wait_for_window 30 || echo "the window did not appear in 30 s" >&2
sleep 1
# The main window sits at 50,50 and measures 769 x 680 at 96 DPI.
import -window root -crop 769x680+50+50 +repage "$SHOT"
echo "$SHOT"
