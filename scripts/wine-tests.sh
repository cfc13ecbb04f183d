#!/usr/bin/env bash
# The Windows program's tests under Wine: the Win32 ports and the real window (GoogleTest),
# every scenario script through Velbrook.exe --drive, and a screenshot of the main window with
# preview off and on. Usage: scripts/wine-tests.sh [BUILD_DIR]   (default build-win32)
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
if [ $# -gt 0 ]; then
  BUILD_WIN32=$(cd "$1" 2>/dev/null && pwd || echo "$HERE/../$1")
  export BUILD_WIN32
fi
source "$HERE/wine-env.sh"
started=$SECONDS

build_win32 Velbrook velbrook-win32-tests
echo "built in $((SECONDS - started)) s"

# The tests' own prefix: their sessions run in a virtual desktop, which a user's run does not want.
[ -z "${VELBROOK_WINEPREFIX:-}" ] && export WINEPREFIX="$BUILD_WIN32/wineprefix-tests"
scratch=$(mktemp -d /tmp/velbrook-wine.XXXXXX)
trap 'stop_display; rm -rf "$scratch"' EXIT
winpath() { echo "Z:${1//\//\\}"; }

# The scenario folders are made in a quiet folder of their own, shown as drive T:, so that the
# folder browser's walk down to them never reads a folder that other programs are changing.
export VELBROOK_CASE_DIR="$scratch/cases" VELBROOK_CASE_DRIVE=T:
mkdir -p "$VELBROOK_CASE_DIR"

# One Wine server for the whole run: starting it for every program costs seconds each time.
ensure_display
ensure_prefix
use_virtual_desktop
"$WINESERVER" -w 2>/dev/null || true
map_drive t "$VELBROOK_CASE_DIR"
"$WINESERVER" -p 2>/dev/null || true  # already running: fine

# The first window and COM call start the session's desktop and services, which live as long as
# the server and keep whatever output they were given: give them none, or the case runner would
# wait on its pipes until each case timed out. The warm-up also shows that the folder browser
# reaches a folder on the scenarios' drive.
mkdir -p "$VELBROOK_CASE_DIR/warm"
printf 'browse T:\\warm\nclick 按钮_手动读取\n' > "$scratch/warm.txt"
"$WINE" "$BUILD_WIN32/Velbrook.exe" --drive "$(winpath "$scratch/warm.txt")" --out "$(winpath "$scratch/warm.out")" \
  >/dev/null 2>&1 </dev/null || true
if ! grep -q '^BROWSE .*warm"$' "$scratch/warm.out" 2>/dev/null; then
  echo "the warm-up did not reach its folder:" >&2
  cat "$scratch/warm.out" >&2 2>/dev/null || true
fi
rm -rf "$VELBROOK_CASE_DIR/warm"

echo "== Win32 ports and window"
t=$SECONDS
mkdir -p "$scratch/xdg" "$scratch/links/v" "$scratch/links/target"
printf keep > "$scratch/links/target/precious"
ln -s ../target "$scratch/links/v/link"
# A tree to delete that holds a link to a folder outside.
mkdir -p "$scratch/swap/tree/a/deep" "$scratch/swap/outside/deep"
printf 1 > "$scratch/swap/tree/a/1"; printf 2 > "$scratch/swap/tree/a/deep/2"
printf keep > "$scratch/swap/outside/precious"; printf more > "$scratch/swap/outside/deep/more"
ln -s "$scratch/swap/outside" "$scratch/swap/tree/b"
status=0
XDG_DATA_HOME="$scratch/xdg" VELBROOK_TEST_TRASH="$(winpath "$scratch/xdg/Trash")" \
  VELBROOK_TEST_LINK_DIR="$(winpath "$scratch/links/v")" \
  VELBROOK_TEST_LINKED_TREE="$(winpath "$scratch/swap/tree")" \
  "$WINE" "$BUILD_WIN32/velbrook-win32-tests.exe" || status=1
echo "Win32 tests took $((SECONDS - t)) s"

echo "== scenario scripts through Velbrook.exe --drive"
t=$SECONDS
cases=("$ROOT"/tests/scenarios/*.case)
[ -d "$ROOT/../shared/examples" ] && cases+=("$ROOT"/../shared/examples/*.case)
python3 "$ROOT/tests/run_cases.py" "$BUILD_WIN32/Velbrook.exe" "${cases[@]}" || status=1
echo "scenarios took $((SECONDS - t)) s"

echo "== screenshots"
shots="$BUILD_WIN32/screenshots"
mkdir -p "$shots"
shoot() {  # name, width, script lines...
  local name=$1 width=$2
  shift 2
  printf '%s\n' "$@" window > "$scratch/$name.txt"
  rm -f "$scratch/$name.out"
  "$WINE" "$BUILD_WIN32/Velbrook.exe" --drive "$(winpath "$scratch/$name.txt")" \
    --out "$(winpath "$scratch/$name.out")" --stay >/dev/null 2>&1 </dev/null &
  local pid=$!
  # The last line of the transcript is written once the script has run and the window has
  # handled its messages; a program that ends before it is a failure, not a picture.
  while ! grep -q '^WINDOW \|^ERROR ' "$scratch/$name.out" 2>/dev/null && kill -0 "$pid" 2>/dev/null; do
    sleep 0.1
  done
  if grep -q '^WINDOW ' "$scratch/$name.out" 2>/dev/null; then
    import -window root -crop "${width}x680+50+50" +repage "$shots/$name.png"
    echo "$shots/$name.png"
  else
    echo "no screenshot $name: the program wrote no transcript" >&2
    status=1
  fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}
shoot preview-off 769 "list"
shoot preview-on 1180 "click 按钮_打开预览"

echo "Wine tests took $((SECONDS - started)) s in all"
exit $status
