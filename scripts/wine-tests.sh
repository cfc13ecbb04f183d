#!/usr/bin/env bash
# The Windows program's tests under Wine: the Win32 ports and the real window (GoogleTest),
# every scenario script through Velbrook.exe --drive (real mouse clicks and keystrokes), the
# person-level checks (xdotool on the display), and screenshots of the main window at 96 and
# 144 DPI, preview off and on, and as it opens on every screen of the fit test.
# Usage: scripts/wine-tests.sh [BUILD_DIR]   (default build-win32)
# With VELBROOK_WINE32=1: the 32-bit program (XP SP3 on) under the 32-bit Wine: its Win32 tests,
# the scenarios and Windows XP's answers; without that Wine the script fails.
# VELBROOK_OTHER_EXE: the program of the other build, whose version resource the tests read too.
# VELBROOK_PREBUILT=1: the programs are built already (scripts/test.sh builds them beside).
# With --prefix-only first, the script makes the tests' prefix and stops, building nothing.
# Runs side by side, each in a prefix of its own (VELBROOK_WINEPREFIX), share the scenarios:
# VELBROOK_CASE_SHARD=I/N runs the Ith of every N, and VELBROOK_SCENARIOS_ONLY=1 runs nothing else.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
prefix_only=
if [ "${1:-}" = --prefix-only ]; then
  prefix_only=1
  shift
fi
if [ $# -gt 0 ]; then
  BUILD_WIN32=$(cd "$1" 2>/dev/null && pwd || echo "$HERE/../$1")
  export BUILD_WIN32
fi
source "$HERE/wine-env.sh"
started=$SECONDS

# The 32-bit program, the one for XP, runs its Windows tests, the scenarios and XP's answers; the
# person-level checks and the screenshots, which look at the same window, run for the 64-bit one.
full=1
if [ "${VELBROOK_WINE32:-}" = 1 ]; then
  full=
  if [ -z "$WINE" ]; then
    echo "no 32-bit Wine (wine32:i386, see scripts/setup.sh): the 32-bit program cannot be run" >&2
    exit 1
  fi
fi
export WINE
# The tests' own prefix: their sessions run in a virtual desktop, which a user's run does not want.
[ -z "${VELBROOK_WINEPREFIX:-}" ] && export WINEPREFIX="$BUILD_WIN32/wineprefix-tests"
if [ -n "$prefix_only" ]; then
  trap stop_display EXIT
  ensure_display
  ensure_prefix
  use_virtual_desktop
  exit 0
fi
if [ "${VELBROOK_PREBUILT:-}" != 1 ]; then
  if [ -z "$full" ]; then
    build_win32 Velbrook Velbrook-xp velbrook-win32-tests
  else
    build_win32 Velbrook velbrook-win32-tests
  fi
  echo "built in $((SECONDS - started)) s"
fi

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
set_dpi 96  # whatever a run that stopped half-way left
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

status=0
if [ "${VELBROOK_SCENARIOS_ONLY:-}" != 1 ]; then
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
  XDG_DATA_HOME="$scratch/xdg" VELBROOK_TEST_TRASH="$(winpath "$scratch/xdg/Trash")" \
    VELBROOK_TEST_LINK_DIR="$(winpath "$scratch/links/v")" \
    VELBROOK_TEST_LINKED_TREE="$(winpath "$scratch/swap/tree")" \
    VELBROOK_TEST_OTHER_EXE="${VELBROOK_OTHER_EXE:+$(winpath "$VELBROOK_OTHER_EXE")}" \
    VELBROOK_SHOTS="$(mkdir -p "$BUILD_WIN32/screenshots" && winpath "$BUILD_WIN32/screenshots")" \
    "$WINE" "$BUILD_WIN32/velbrook-win32-tests.exe" || status=1
  echo "Win32 tests took $((SECONDS - t)) s"
fi

t=$SECONDS
all_cases=("$ROOT"/tests/scenarios/*.case)
[ -d "$ROOT/../shared/examples" ] && all_cases+=("$ROOT"/../shared/examples/*.case)
IFS=/ read -r shard shards <<<"${VELBROOK_CASE_SHARD:-1/1}"
cases=()
for i in "${!all_cases[@]}"; do
  [ $((i % shards)) -eq $((shard - 1)) ] && cases+=("${all_cases[$i]}")
done
echo "== scenario scripts through Velbrook.exe --drive${VELBROOK_CASE_SHARD:+ (share $shard of $shards)}"
python3 "$ROOT/tests/run_cases.py" "$BUILD_WIN32/Velbrook.exe" "${cases[@]}" || status=1
echo "scenarios took $((SECONDS - t)) s"
if [ "${VELBROOK_SCENARIOS_ONLY:-}" = 1 ]; then
  exit $status
fi

if [ -z "$full" ]; then
  # Wine has every newer function whatever Windows it reports, so XP's answers come from a build of
  # the program that links them in (tests/xp). With Wine reporting XP as well, some scenarios run
  # through it, and the program's debug output must say that it took each XP path.
  echo "== Windows XP's answers: scenarios through Velbrook-xp.exe, Wine reporting Windows XP"
  t=$SECONDS
  "$WINE" reg add 'HKCU\Software\Wine' /v Version /d winxp /f >/dev/null 2>&1
  xp_cases=()
  for c in example-03-preview fileops-delete-tree fileset-drop fileset-hidden-and-folder fileset-order-many \
           ops-chain-undo ops-folders; do
    xp_cases+=("$ROOT/tests/scenarios/$c.case")
  done
  python3 "$ROOT/tests/run_cases.py" "$BUILD_WIN32/Velbrook-xp.exe" "${xp_cases[@]}" || status=1
  mkdir -p "$VELBROOK_CASE_DIR/xp/sub"
  printf x > "$VELBROOK_CASE_DIR/xp/a.txt"
  printf 'browse T:\\xp\nclick 按钮_手动读取\n' > "$scratch/xp.txt"
  WINEDEBUG=-all,+debugstr "$WINE" "$BUILD_WIN32/Velbrook-xp.exe" --drive "$(winpath "$scratch/xp.txt")" \
    --out "$(winpath "$scratch/xp.out")" </dev/null 2>"$scratch/xp.err" >/dev/null || true
  for path in "DPI: system scaling" "message filter: none on this system" \
              "folder search: standard level, no large fetch"; do
    if grep -aq "Velbrook: $path" "$scratch/xp.err"; then
      echo "ok   XP path: $path"
    else
      echo "FAIL XP path not taken: $path"
      status=1
    fi
  done
  "$WINE" reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1
  echo "XP answers took $((SECONDS - t)) s"

  echo "Wine tests took $((SECONDS - started)) s in all"
  exit $status
fi

echo "== person-level checks: the mouse and keyboard of the display on the real window"
t=$SECONDS
WINE="$WINE" python3 "$ROOT/tests/person/person_checks.py" "$BUILD_WIN32/Velbrook.exe" || status=1
echo "person checks took $((SECONDS - t)) s"

echo "== screenshots"
shots="$BUILD_WIN32/screenshots"
mkdir -p "$shots"
mkdir -p "$VELBROOK_CASE_DIR/shots/文件"
for f in "第1集 开始.mp4" "第2集.mp4" "第10集 结尾.mp4" "说明.txt" "封面.jpg"; do
  printf x > "$VELBROOK_CASE_DIR/shots/文件/$f"
done
python3 -c 'import sys; sys.path.insert(0, sys.argv[1]); import run_cases; run_cases.pin_access_times(sys.argv[2])' \
  "$ROOT/tests" "$VELBROOK_CASE_DIR/shots"
# Starts the program on a script that ends in await, and waits until it has handed the window
# over (or stopped): sets pid.
hand_over() {  # name, script lines...
  local name=$1
  shift
  printf '%s\n' "$@" await > "$scratch/$name.txt"
  rm -f "$scratch/$name.out"
  "$WINE" "$BUILD_WIN32/Velbrook.exe" --drive "$(winpath "$scratch/$name.txt")" \
    --out "$(winpath "$scratch/$name.out")" >/dev/null 2>&1 </dev/null &
  pid=$!
  while ! grep -q '^AWAIT\|^ERROR ' "$scratch/$name.out" 2>/dev/null && kill -0 "$pid" 2>/dev/null; do
    sleep 0.1
  done
}
shoot() {  # name, script lines...
  local name=$1 pid
  # The script hands the window over once it has run and the window has handled its messages;
  # it then says where the window is. A program that ends before that is a failure.
  hand_over "$@"
  local at
  at=$(grep -m1 '^AT 主窗口 ' "$scratch/$name.out" 2>/dev/null | cut -d' ' -f3)
  if grep -q '^AWAIT' "$scratch/$name.out" 2>/dev/null && [ -n "$at" ]; then
    local x y w h
    IFS=, read -r x y w h <<<"$at"
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$shots/$name.png"
    echo "$shots/$name.png"
    # The person's signal ends the script, and the program with it. A program ended by a signal
    # instead may leave the next one's window never made active, and its input nowhere.
    xdotool key Pause
  else
    echo "no screenshot $name:" >&2
    cat "$scratch/$name.out" >&2 2>/dev/null || true
    status=1
    kill "$pid" 2>/dev/null || true
  fi
  wait "$pid" 2>/dev/null || true
}
shoot_both() {  # dpi: the main window with a folder read, preview off and on
  shoot "$1-preview-off" 'browse T:\shots\文件' "click 按钮_手动读取"
  shoot "$1-preview-on" 'browse T:\shots\文件' "click 按钮_手动读取" "click 按钮_打开预览" "set 编辑框6 新_" \
    "click 按钮_最前面加" "focus 编辑框6"
}
shoot_both 96
# What a person gets from the system on the window handed over: a message box (the question
# before files are deleted, answered No with Esc) and the list's popup menu (closed with Esc).
# Saves shots/NAME.png of the area once two shots in a row are the same (at most 100 tries).
settled_shot() {  # area, name
  local last="$scratch/$2-last.png" shot="$scratch/$2-shot.png" i
  import -window root -crop "$1" +repage "$last"
  for i in $(seq 100); do
    import -window root -crop "$1" +repage "$shot"
    if compare -metric AE "$last" "$shot" null: 2>/dev/null; then
      cp "$shot" "$shots/$2.png"
      echo "$shots/$2.png"
      return
    fi
    cp "$shot" "$last"
  done
}
shoot_by_hand() {  # name, what to click ("AT name" or "ROWAT n"), mouse button, script lines...
  local name=$1 target=$2 button=$3 pid
  shift 3
  rm -f "$shots/$name.png"
  hand_over "$name" "$@"
  local at spot
  at=$(grep -m1 '^AT 主窗口 ' "$scratch/$name.out" 2>/dev/null | cut -d' ' -f3)
  spot=$(grep -m1 "^$target " "$scratch/$name.out" 2>/dev/null | cut -d' ' -f3)
  if grep -q '^AWAIT' "$scratch/$name.out" 2>/dev/null && [ -n "$at" ] && [ -n "$spot" ]; then
    local x y w h sx sy sw sh
    IFS=, read -r x y w h <<<"$at"
    IFS=, read -r sx sy sw sh <<<"$spot"
    # Where the dialog shows: a box in the middle of the screen (the shot then takes the screen),
    # the menu over the rows below the one clicked.
    local area="${w}x${h}+${x}+${y}" watch="60x30+$((sx + sw / 2 + 4))+$((sy + sh + 4))"
    if [ "$button" = 1 ]; then
      local dw dh
      IFS=x read -r dw dh < <(xdotool search --name 'Wine desktop' getwindowgeometry 2>/dev/null |
        sed -n 's/.*Geometry: \([0-9]*x[0-9]*\).*/\1/p' | head -1)
      area="${dw:-1920}x${dh:-1080}+0+0"
      watch="40x40+$((${dw:-1920} / 2 - 20))+$((${dh:-1080} / 2 - 20))"
    fi
    import -window root -crop "$watch" +repage "$scratch/$name-watch.png"
    xdotool mousemove $((sx + sw / 2)) $((sy + sh / 2)) click "$button"
    local i shown=0
    for i in $(seq 600); do
      import -window root -crop "$watch" +repage "$scratch/$name-now.png"
      if ! compare -metric AE "$scratch/$name-watch.png" "$scratch/$name-now.png" null: 2>/dev/null; then
        shown=1
        break
      fi
    done
    # Then the shot once the screen stays as it is.
    [ $shown = 1 ] && settled_shot "$area" "$name"
    [ -f "$shots/$name.png" ] || { echo "no screenshot $name: the screen did not settle" >&2; status=1; }
    xdotool key Escape
    xdotool key Pause
  else
    echo "no screenshot $name:" >&2
    cat "$scratch/$name.out" >&2 2>/dev/null || true
    status=1
  fi
  wait "$pid" 2>/dev/null || true
}
shoot_by_hand message-box "AT 按钮_删除文件" 1 'browse T:\shots\文件' "click 按钮_手动读取" "focus 按钮_删除文件"
shoot_by_hand popup-menu "ROWAT 1" 3 'browse T:\shots\文件' "click 按钮_手动读取"
# 125 % and 150 %: sessions of their own, with the prefix's dots per inch set meanwhile. The
# captions must fit and draw whole at each, and the windows lie on the screen.
for dpi in 120 144; do
  "$WINESERVER" -k 2>/dev/null || true
  set_dpi $dpi
  "$WINESERVER" -p 2>/dev/null || true
  VELBROOK_SHOTS="$(winpath "$shots")" "$WINE" "$BUILD_WIN32/velbrook-win32-tests.exe" \
    --gtest_filter='Captions.*:Painting.*:Placement.*:SystemFonts.*' --gtest_brief=1 || status=1
  if [ $dpi = 144 ]; then shoot_both 144; fi
done
# The painting tests' shots of every page (page-N-DPI), as pictures a person can open.
for f in "$shots"/page-*.ppm; do
  if [ -f "$f" ]; then convert "$f" "${f%.ppm}.png" && rm -f "$f" || status=1; fi
done

# Every screen a person may have, at the scale it is commonly used at: the window fits the work
# area at the largest scale that fits, or scrolls, with the preview off and on (the fit test), and
# paints every control whole where it is laid out smaller than its monitor's scale (the painting
# test); a shot of the window as it opens on each.
echo "== every screen and scale"
set_screen() {  # WIDTHxHEIGHT of the virtual desktop for the sessions that start from now on
  "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$1" /f >/dev/null 2>&1
  "$WINESERVER" -w 2>/dev/null || true
}
# The window as it opens on the screen of the moment: started by itself (no script steers it),
# shot once two shots in a row are the same.
shoot_opened() {  # name, WIDTHxHEIGHT of the screen
  local name=$1 area="$2+0+0" pid
  rm -f "$shots/$name.png"
  "$WINE" "$BUILD_WIN32/Velbrook.exe" >/dev/null 2>&1 </dev/null &
  pid=$!
  while ! xdotool search --onlyvisible --name '^Velbrook' >/dev/null 2>&1 && kill -0 "$pid" 2>/dev/null; do
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && settled_shot "$area" "$name"
  [ -f "$shots/$name.png" ] || { echo "no screenshot $name" >&2; status=1; }
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}
for screen in 1024x600@96 1280x800@120 1366x768@96 1366x768@120 1600x900@120 1280x1024@144 \
              1920x1080@144 2560x1440@192; do
  "$WINESERVER" -k 2>/dev/null || true
  set_screen "${screen%@*}"
  set_dpi "${screen#*@}"
  "$WINESERVER" -p 2>/dev/null || true
  echo "-- ${screen%@*} at ${screen#*@} DPI"
  "$WINE" "$BUILD_WIN32/velbrook-win32-tests.exe" --gtest_filter='Fit.*:Painting.*' --gtest_brief=1 || status=1
  # A laptop's screen at 125 %: preview and execute with the mouse alone.
  if [ "$screen" = 1366x768@120 ]; then
    WINE="$WINE" python3 "$ROOT/tests/person/person_checks.py" "$BUILD_WIN32/Velbrook.exe" \
      preview_execute_on_a_laptop_screen || status=1
  fi
  shoot_opened "${screen%@*}-${screen#*@}" "${screen%@*}"
done
"$WINESERVER" -k 2>/dev/null || true
set_screen 1920x1080
set_dpi 96

echo "Wine tests took $((SECONDS - started)) s in all"
exit $status
