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
TESTS_BUILD="$ROOT/build-win32-tests"
started=$SECONDS

build_win32 Velbrook
cmake -S "$ROOT" -B "$TESTS_BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/tests/win32/mingw-w64-posix.cmake" >/dev/null
cmake --build "$TESTS_BUILD" -j"$(nproc)" --target velbrook-win32-tests
echo "built in $((SECONDS - started)) s"

# One Wine server for the whole run: starting it for every program costs seconds each time.
start_wine() {
  ensure_display
  ensure_prefix
  "$WINESERVER" -p 2>/dev/null || true  # already running: fine
}
start_wine
trap stop_display EXIT

scratch=$(mktemp -d /tmp/velbrook-wine.XXXXXX)
trap 'stop_display; rm -rf "$scratch"' EXIT
winpath() { echo "Z:${1//\//\\}"; }
# The first window and COM call start the session's desktop and services, which live as long as
# the server and keep whatever output they were given: give them none, or the case runner would
# wait on its pipes until each case timed out.
# The warm-up also browses to a folder: a fresh prefix once came out whose folder browser reached
# no folder at all (it stayed on the Desktop), and every case then failed. Such a prefix is made
# again, once.
warm_up() {
  mkdir -p "$scratch/warm"
  printf 'browse %s\nclick 按钮_手动读取\n' "$(winpath "$scratch/warm")" > "$scratch/warm.txt"
  rm -f "$scratch/warm.out"
  "$WINE" "$BUILD_WIN32/Velbrook.exe" --drive "$(winpath "$scratch/warm.txt")" --out "$(winpath "$scratch/warm.out")" \
    >/dev/null 2>&1 </dev/null || true
  grep -q '^BROWSE .*warm"$' "$scratch/warm.out" 2>/dev/null
}
if ! warm_up; then
  if [ -n "${VELBROOK_WINEPREFIX:-}" ]; then
    # A prefix named from outside is not ours to delete.
    echo "the folder browser of $WINEPREFIX reaches no folder; the scenarios below will show where" >&2
  else
    echo "the folder browser of this Wine prefix reaches no folder: making the prefix again" >&2
    stop_display
    "$WINESERVER" -w 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    start_wine
    warm_up || echo "it still reaches no folder; the scenarios below will show where" >&2
  fi
fi

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
  "$WINE" "$TESTS_BUILD/velbrook-win32-tests.exe" || status=1
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
  printf '%s\n' "$@" > "$scratch/$name.txt"
  "$WINE" explorer /desktop=velbrook,1280x800 "$BUILD_WIN32/Velbrook.exe" --drive "$(winpath "$scratch/$name.txt")" \
    --out "$(winpath "$scratch/$name.out")" --stay >/dev/null 2>&1 &
  local pid=$!
  wait_for_window 30 || true
  sleep 2
  import -window root -crop "${width}x680+50+50" +repage "$shots/$name.png"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  "$WINESERVER" -k 2>/dev/null || true
  "$WINESERVER" -p 2>/dev/null || true
  echo "$shots/$name.png"
}
shoot preview-off 769 "list"
shoot preview-on 1180 "click 按钮_打开预览"

echo "Wine tests took $((SECONDS - started)) s in all"
exit $status
