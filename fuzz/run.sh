#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, address and undefined-behaviour sanitizers) in build-fuzz/
# and runs each for a fixed time: fuzz/run.sh [SECONDS]  (default 60 per target; 0 only builds).
# A finding replays with build-fuzz/fuzz_<target> FILE.
# New inputs go to build-fuzz/corpus/, crashes to build-fuzz/findings/; fuzz/corpus/ is the
# committed seed corpus. Exit status 1 when any target found something.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
out="$top/build-fuzz"
targets=(gbk_text rules ordering script text_out)
declare -A maxlen=([gbk_text]=256 [rules]=512 [ordering]=4096 [script]=256 [text_out]=512)

missing=()
for p in clang libclang-rt-14-dev; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -q
    $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# clang knows no execution character set but UTF-8: copy the sources with their narrow literals
# already in GBK, which is what -fexec-charset=CP936 gives under g++.
cd "$top"
mapfile -t sources < <(find src fuzz -path src/win32 -prune -o -path src/platform/win32 -prune -o \
                            \( -name '*.h' -o -name '*.cpp' -o -name '*.inc' \) -print)
python3 fuzz/gbk_literals.py "$out/gbk" "$top" "${sources[@]}"

library=(src/transforms/gbk_text.cpp src/transforms/path_style.cpp src/transforms/symbol_set.cpp src/fileset/ordering.cpp
         src/drive/script.cpp src/drive/transcript_text.cpp src/platform/posix/encoding_posix.cpp)
for f in src/transforms/rule_*.cpp; do library+=("$f"); done

flags=(-std=c++20 -O1 -g -fno-omit-frame-pointer -finput-charset=UTF-8 -Wall -Wextra
       -Wno-invalid-source-encoding -fno-sanitize-recover=undefined -I "$out/gbk/src")
mkdir -p "$out/obj"
echo "== building"
objects=()
for f in "${library[@]}"; do
    o="$out/obj/${f//\//_}.o"
    objects+=("$o")
    while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do wait -n; done
    clang++ "${flags[@]}" -fsanitize=fuzzer-no-link,address,undefined -c "$out/gbk/$f" -o "$o" &
done
while [ "$(jobs -rp | wc -l)" -gt 0 ]; do wait -n; done
for t in "${targets[@]}"; do
    clang++ "${flags[@]}" -fsanitize=fuzzer,address,undefined "$out/gbk/fuzz/fuzz_$t.cpp" "${objects[@]}" \
        -o "$out/fuzz_$t"
done

[ "$seconds" -eq 0 ] && exit 0
echo "== fuzzing, ${seconds}s per target"
status=0
summary=()
for t in "${targets[@]}"; do
    mkdir -p "$out/corpus/$t" "$out/findings/$t" "fuzz/corpus/$t"
    log="$out/$t.log"
    before=$(find "$out/findings/$t" -type f | wc -l)
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        "$out/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="${maxlen[$t]}" \
        -print_final_stats=1 -artifact_prefix="$out/findings/$t/" "$out/corpus/$t" "fuzz/corpus/$t" \
        >"$log" 2>&1 || true
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    after=$(find "$out/findings/$t" -type f | wc -l)
    new=$((after - before))
    summary+=("$(printf '%-10s %12s executions  %d finding(s)' "$t" "${runs:-?}" "$new")")
    if [ "$new" -gt 0 ]; then
        status=1
        grep -m1 -E 'ERROR|invariant broken|runtime error' "$log" | sed "s/^/  $t: /" || true
    fi
done
echo "== results (logs in build-fuzz/*.log)"
printf '%s\n' "${summary[@]}"
exit $status
