#!/usr/bin/env bash
# Manual read of N generated files on the real window under Wine, beside a bare FindFirstFileExW
# listing in the same process, and the native `find | sort` listing of the same folder.
#   bench/wine-read.sh [N] [RUNS]      (default 100000 files, 3 runs, medians)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
n=${1:-100000}
runs=${2:-3}
"$top/scripts/setup.sh" >/dev/null
source "$top/scripts/wine-env.sh"
build_win32 bench-win32-read >/dev/null

folder=$(mktemp -d /tmp/velbrook-wine-read.XXXXXX)
trap 'stop_display; rm -rf "$folder"' EXIT
python3 "$top/bench/gen_names.py" "$folder" "$n"
ensure_display
ensure_prefix

python3 - "$folder" "$runs" <<'PY'
import shlex, statistics, subprocess, sys, time
folder, runs = sys.argv[1], int(sys.argv[2])
times = []
for _ in range(runs):
    start = time.perf_counter()
    subprocess.run(["bash", "-c", f"find {shlex.quote(folder)} -maxdepth 1 -type f | LC_ALL=C sort >/dev/null"], check=True)
    times.append(time.perf_counter() - start)
print(f"native find | LC_ALL=C sort        {statistics.median(times):.3f} s")
PY
"$WINE" "$BUILD_WIN32/bench-win32-read.exe" "Z:${folder//\//\\}" "$runs" 2>/dev/null
