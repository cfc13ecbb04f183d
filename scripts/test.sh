#!/usr/bin/env bash
# Builds everything and runs every test: native unit and scenario tests, the same with
# sanitizers, the Windows build and the Windows program's tests under Wine.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
scripts/setup.sh
jobs=$(nproc)

echo "== native build and tests"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")

echo "native part took $SECONDS s"

echo "== native tests with address and undefined-behaviour sanitizers"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVELBROOK_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j"$jobs")

echo "native part with sanitizers done at $SECONDS s"

t=$SECONDS
echo "== 32-bit Windows build (XP SP3 and later) and its tests under the 32-bit Wine"
VELBROOK_WINE32=1 scripts/wine-tests.sh build-win32-x86
echo "== Windows build and the Windows program under Wine"
VELBROOK_OTHER_EXE=$top/build-win32-x86/Velbrook.exe scripts/wine-tests.sh build-win32
echo "== import tables: only functions every supported system has"
python3 tests/imports/check_imports.py tests/imports/allowed-imports.txt build-win32/Velbrook.exe \
  build-win32-x86/Velbrook.exe
echo "both Windows builds, their tests and the import check took $((SECONDS - t)) s"
t=$SECONDS
echo "== release archives: built twice, in two folders, they must be the same bytes"
for n in 1 2; do scripts/package.sh "build-release-$n" "build-release-$n/dist" >/dev/null; done
for a in build-release-1/dist/*.zip; do
  cmp "$a" "build-release-2/dist/${a##*/}"
  echo "same: ${a##*/} $(sha256sum <"$a" | cut -c1-16)"
done
echo "release archives took $((SECONDS - t)) s"
echo "== all tests passed in $SECONDS s"
