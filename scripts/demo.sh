#!/usr/bin/env bash
# A short demonstration through the script driver on a generated sample folder.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" --target velbrook-drive
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
mkdir -p "$root/prog" "$root/动画"
for i in 1 2 10 3; do printf x > "$root/动画/第${i}集.mp4"; done
build/velbrook-drive --root "$root" --program-dir "$root/prog" - <<SCRIPT
browse \$T/动画
click 按钮_手动读取
list
set 编辑框7 _高清
click 按钮_最后面加
list
SCRIPT
