#!/usr/bin/env bash
# Instruction counts (callgrind) of one velbrook-drive script on a generated folder: repeatable
# on a noisy machine where wall times are not.
#   bench/profile.sh [read|direct|preview|undo|delete] [N]     defaults: direct 10000
# Prints the functions with the most instructions, inclusive and exclusive; the raw profile stays
# in /tmp/velbrook-profile/callgrind.out for callgrind_annotate.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
what=${1:-direct}
n=${2:-10000}

dpkg-query -W -f='${Status}' valgrind 2>/dev/null | grep -q "ok installed" || {
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends valgrind
}

# Release code with line tables, in a folder of its own.
build="$top/build-bench-prof"
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS=-g >/dev/null
cmake --build "$build" -j"$(nproc)" --target velbrook-drive >/dev/null

out=/tmp/velbrook-profile
rm -rf "$out"
mkdir -p "$out/prog"
python3 "$top/bench/gen_names.py" "$out/dir" "$n"

steps=("browse $out/dir" "click 按钮_手动读取")
case $what in
read) ;;
direct) steps+=("set 编辑框7 _v2" "click 按钮_最后面加") ;;
preview) steps+=("click 按钮_打开预览" "set 编辑框7 _v2" "click 按钮_最后面加") ;;
undo) steps+=("click 按钮_打开预览" "set 编辑框7 _v2" "click 按钮_最后面加" "click 按钮_确认无误执行吧"
              "click 按钮_撤回上一步") ;;
delete) steps+=("set 编辑框1 【高清】" "click 按钮_删掉N次") ;;
*) echo "unknown script: $what" >&2; exit 2 ;;
esac
printf '%s\n' "${steps[@]}" > "$out/script.txt"

valgrind --tool=callgrind --callgrind-out-file="$out/callgrind.out" \
    "$build/velbrook-drive" --program-dir "$out/prog" "$out/script.txt" 2> "$out/valgrind.log"
grep -E "Collected" "$out/valgrind.log" || true
echo "## inclusive"
callgrind_annotate --inclusive=yes "$out/callgrind.out" 2>/dev/null | grep -E '^ *[0-9,]+ \(' | head -40
echo "## exclusive"
callgrind_annotate "$out/callgrind.out" 2>/dev/null | grep -E '^ *[0-9,]+ \(' | head -30
rm -rf "$out/dir"
