#!/usr/bin/env bash
# Builds everything and runs every test: native unit and scenario tests, the same with
# sanitizers, both Windows programs and their tests under Wine, the import check, and the release
# archives built twice and compared.
#
# Both cores stay busy: each Windows program's Wine suite (its own display and prefix) starts as
# soon as its build is done and runs while the rest compiles and runs beside it. The Windows tests
# run on the first release build itself (same objects, same flags); the second release build
# compiles every object anew, so the comparison of the archives shows that they come from the
# sources alone. A part that runs in the background writes a log of its own, printed whole when
# the part ends, in a fixed order: the output reads the same on every run.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
scripts/setup.sh
jobs=$(nproc)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Compiles beside the Wine suites give way to them a little: those drive a real window.
build() { nice -n 3 cmake --build "$@" -j"$jobs"; }
logs=$(mktemp -d /tmp/velbrook-test.XXXXXX)
failed=()
declare -A pids
stop_parts() {
  local p
  for p in "${pids[@]}"; do kill -TERM -- "-$p" 2>/dev/null || true; done
  rm -rf "$logs"
}
trap stop_parts EXIT

# background NAME COMMAND...: runs the part with its output in its own log. The part is a process
# group of its own (job control, only while it starts), so that a run that stops early ends the
# part's Wine, Xvfb and scripts with it.
background() {
  local name=$1
  shift
  set -m
  ( start=$(date +%s)
    rc=0
    "$@" || rc=$?
    echo "$name took $(($(date +%s) - start)) s"
    exit $rc ) >"$logs/$name.log" 2>&1 &
  pids[$name]=$!
  set +m
}
# finish NAME: waits for the part, prints its log, notes a failure.
finish() {
  local rc=0
  wait "${pids[$1]}" || rc=$?
  cat "$logs/$1.log"
  unset "pids[$1]"
  [ $rc -eq 0 ] || failed+=("$1")
}

# A kernel may run no 32-bit program at all (ia32 emulation off, as some virtual machines boot):
# there the i386 loader itself fails with "Exec format error", so no 32-bit Wine can start. The
# 32-bit program is then built and its imports checked, and the run says that its Wine tests
# were not run. Any other failure of the 32-bit Wine still fails the run.
runs32=1
if [ -e /lib/ld-linux.so.2 ]; then
  rc32=0
  /lib/ld-linux.so.2 --version >/dev/null 2>&1 || rc32=$?
  if [ $rc32 -eq 126 ]; then runs32=0; fi
fi

win64=build-release-1/win64 win32=build-release-1/win32
t=$SECONDS
echo "== Windows builds: the first release build of each program, with its tests"
scripts/package.sh --configure build-release-1
# The 64-bit program has the most to run under Wine: a second run beside the first, in a prefix
# and on a display of its own, takes half of its scenarios. The prefixes are made while the
# programs compile.
second=$top/$win64/wineprefix-tests-2
background prefix64 scripts/wine-tests.sh --prefix-only "$win64"
background prefix64b env VELBROOK_WINEPREFIX="$second" scripts/wine-tests.sh --prefix-only "$win64"
if [ $runs32 = 1 ]; then
  background prefix32 env VELBROOK_WINE32=1 scripts/wine-tests.sh --prefix-only "$win32"
fi
cmake --build "$win64" -j"$jobs" --target Velbrook velbrook-win32-tests bench-win32-read >/dev/null
echo "64-bit program built at $((SECONDS - t)) s"
export VELBROOK_PREBUILT=1
finish prefix64
background wine64 env VELBROOK_CASE_SHARD=1/2 scripts/wine-tests.sh "$win64"
finish prefix64b
background wine64b env VELBROOK_WINEPREFIX="$second" VELBROOK_CASE_SHARD=2/2 VELBROOK_SCENARIOS_ONLY=1 \
  scripts/wine-tests.sh "$win64"
build "$win32" --target Velbrook Velbrook-xp velbrook-win32-tests >/dev/null
echo "32-bit program built at $((SECONDS - t)) s"
if [ $runs32 = 1 ]; then
  finish prefix32
  # The 32-bit tests read the version resource of the 64-bit program as well.
  background wine32 env VELBROOK_WINE32=1 VELBROOK_OTHER_EXE="$top/$win64/Velbrook.exe" scripts/wine-tests.sh "$win32"
fi

echo "== import tables: only functions every supported system has"
python3 tests/imports/check_imports.py tests/imports/allowed-imports.txt "$win64/Velbrook.exe" "$win32/Velbrook.exe" ||
  failed+=(imports)

echo "== native build and tests"
t=$SECONDS
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
build build
# The benchmarks are built too (not run), so that they keep up with the ports they use.
benches=()
for b in bench/*.cpp; do benches+=("bench-$(basename "$b" .cpp)"); done
build build --target "${benches[@]}" >/dev/null || failed+=(benchmarks)
# So are the fuzz targets (clang, sanitizers), for the same reason.
nice -n 3 fuzz/run.sh 0 >/dev/null || failed+=(fuzz-targets)
(cd build && ctest --output-on-failure -j"$jobs") || failed+=(native)
echo "native part took $((SECONDS - t)) s"

echo "== native tests with address and undefined-behaviour sanitizers"
t=$SECONDS
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVELBROOK_SANITIZE=ON "${launcher[@]}" >/dev/null
build build-asan
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j"$jobs") ||
  failed+=(sanitizers)
echo "native part with sanitizers took $((SECONDS - t)) s"

echo "== release archives: built twice, in two folders, they must be the same bytes"
t=$SECONDS
# A failed archive is recorded and the run goes on, so that the Wine parts still report.
nice -n 3 scripts/package.sh build-release-1 build-release-1/dist >/dev/null || failed+=(archive-1)
# The second build compiles everything itself: no object of the first comes from the cache.
CCACHE_DISABLE=1 nice -n 3 scripts/package.sh build-release-2 build-release-2/dist >/dev/null || failed+=(archive-2)
for a in build-release-1/dist/*.zip; do
  if [ -f "build-release-2/dist/${a##*/}" ] && cmp "$a" "build-release-2/dist/${a##*/}"; then
    echo "same: ${a##*/} $(sha256sum <"$a" | cut -c1-16)"
  else
    failed+=(archives)
  fi
done
echo "release archives took $((SECONDS - t)) s"

echo "== 64-bit Windows program under Wine"
finish wine64
finish wine64b
echo "== 32-bit Windows program (XP SP3 and later) under the 32-bit Wine"
if [ $runs32 = 1 ]; then
  finish wine32
else
  echo "NOT RUN: this kernel runs no 32-bit program (ia32 emulation off); the program is built, its imports checked"
fi

if [ ${#failed[@]} -gt 0 ]; then
  echo "== FAILED: ${failed[*]} (after $SECONDS s)"
  exit 1
fi
echo "== all tests passed in $SECONDS s"
