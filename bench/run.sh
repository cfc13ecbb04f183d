#!/usr/bin/env bash
# Benchmarks: listing and rename rows beside their references, all in one run.
#   bench/run.sh                 listing at 1000 10000 100000, renames at 10000 100000
#   bench/run.sh N...            both at each N
#   RUNS=9 bench/run.sh ...      runs per row (min / median / max; default and least 5)
# Generated folders live under /tmp and are deleted at the end.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

packages=(cmake g++ make python3 time rename mmv)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -q
    $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

build="$top/build-bench"
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" --target velbrook-drive bench-floor_rename >/dev/null

exec python3 "$top/bench/run.py" --build "$build" "$@"
