#!/usr/bin/env bash
# The release archives: both programs built in release mode, each zipped with the Chinese guide.
#   dist/Velbrook-VERSION-win64.zip   Windows 7 and later, 64-bit
#   dist/Velbrook-VERSION-win32.zip   Windows XP SP3 and later
# Building again from the same commit gives the same bytes: no build path and no time of the build
# reaches the archives (their times are the commit's, SOURCE_DATE_EPOCH).
# Usage: scripts/package.sh [--configure] [BUILD_DIR [DIST_DIR]]   (default build-release, dist)
# BUILD_DIR/win64 and BUILD_DIR/win32 are the two builds. --configure only configures them, for
# building more targets there with the same flags (scripts/test.sh runs the tests on them).
# Compiles go through ccache when it is installed; CCACHE_DISABLE=1 compiles every object anew.
set -euo pipefail
configure_only=
if [ "${1:-}" = --configure ]; then
  configure_only=1
  shift
fi
top=$(cd "$(dirname "$0")/.." && pwd)
work=$(mkdir -p "${1:-$top/build-release}" && cd "${1:-$top/build-release}" && pwd)
version=$(sed -n 's/^project(Velbrook VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$top" log -1 --format=%ct)}

# Paths of the checkout and of the build folder are written as "." and "build"; the link leaves
# the header's time stamp at 0 and strips the symbols.
flags="-ffile-prefix-map=$top=. -ffile-prefix-map=$work=build"
link="-s -Wl,--no-insert-timestamp"
launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=)
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
for arch in win64 win32; do
  toolchain=$top/cmake/mingw-w64.cmake systems="Windows 7 及以上（64 位）"
  if [ $arch = win32 ]; then
    toolchain=$top/cmake/mingw-w64-i686.cmake systems="Windows XP SP3 及以上（32 位或 64 位）"
  fi
  cmake -S "$top" -B "$work/$arch" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$link" "${launcher[@]}" >/dev/null
  [ -n "$configure_only" ] && continue
  dist=$(mkdir -p "${2:-$top/dist}" && cd "${2:-$top/dist}" && pwd)
  cmake --build "$work/$arch" -j"$(nproc)" --target Velbrook >/dev/null
  # An exe that imports what its oldest system lacks is no release; say which functions.
  python3 "$top/tests/imports/check_imports.py" "$top/tests/imports/allowed-imports.txt" "$work/$arch/Velbrook.exe" >&2
  python3 "$top/scripts/release/zip.py" "$dist/Velbrook-$version-$arch.zip" "$SOURCE_DATE_EPOCH" \
    "$work/$arch/Velbrook.exe" "$top/scripts/release/guide.txt" "$version" "$systems"
  echo "$dist/Velbrook-$version-$arch.zip"
done
