#!/usr/bin/env bash
# Times our Base64 encoder and MD5 beside coreutils base64 -w0 and md5sum, and
# our CRC-32 beside zlib's (through python3, interpreter start included) on the
# same 100 MB random file, checks that the outputs agree, and prints one table
# with ratios (tool time / our time: above 1 means we are faster). Each figure
# is the best of three runs; CPU is user + system time, which stays meaningful
# on a busy machine.
# Usage: bench/compare/base64_md5.sh [build folder]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build-bench}"
bench="$build/bench/quillet_bench_encodersbench"
if [ ! -x "$bench" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLET_BUILD_BENCH=ON >/dev/null
    cmake --build "$build" --target quillet_bench_encodersbench -j2 >/dev/null
fi
for tool in base64 md5sum python3; do
    command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done
dir="$(mktemp -d /tmp/quillet-encoders-XXXXXX)"
trap 'rm -rf "$dir"' EXIT
input="$dir/input.bin"
head -c $((100 * 1024 * 1024)) /dev/urandom >"$input"

# best_of3 OUTFILE COMMAND...: runs the command three times with its output in
# OUTFILE and prints "wall cpu" of the fastest run.
best_of3() {
    local out="$1"
    shift
    local best_wall="" best_cpu="" line wall user sys cpu
    for _ in 1 2 3; do
        line=$( { TIMEFORMAT='%R %U %S'; time "$@" >"$out"; } 2>&1 )
        read -r wall user sys <<<"$line"
        cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.3f", u + s }')
        if [ -z "$best_wall" ] || awk -v a="$wall" -v b="$best_wall" 'BEGIN { exit !(a < b) }'; then
            best_wall=$wall
        fi
        if [ -z "$best_cpu" ] || awk -v a="$cpu" -v b="$best_cpu" 'BEGIN { exit !(a < b) }'; then
            best_cpu=$cpu
        fi
    done
    echo "$best_wall $best_cpu"
}

read -r ours_b64_wall ours_b64_cpu <<<"$(best_of3 "$dir/ours.b64" "$bench" --run base64 "$input")"
read -r tool_b64_wall tool_b64_cpu <<<"$(best_of3 "$dir/tool.b64" base64 -w0 "$input")"
read -r ours_md5_wall ours_md5_cpu <<<"$(best_of3 "$dir/ours.md5" "$bench" --run md5 "$input")"
read -r tool_md5_wall tool_md5_cpu <<<"$(best_of3 "$dir/tool.md5" md5sum "$input")"
read -r ours_crc_wall ours_crc_cpu <<<"$(best_of3 "$dir/ours.crc" "$bench" --run crc32 "$input")"
crc_script='import sys, zlib
crc = 0
with open(sys.argv[1], "rb") as f:
    for block in iter(lambda: f.read(1 << 20), b""):
        crc = zlib.crc32(block, crc)
print(crc)'
read -r tool_crc_wall tool_crc_cpu <<<"$(best_of3 "$dir/tool.crc" python3 -c "$crc_script" "$input")"

cmp -s "$dir/ours.b64" "$dir/tool.b64" || { echo "Base64 output differs from base64 -w0" >&2; exit 1; }
cmp -s "$dir/ours.md5" "$dir/tool.md5" || { echo "MD5 differs from md5sum" >&2; exit 1; }
cmp -s "$dir/ours.crc" "$dir/tool.crc" || { echo "CRC-32 differs from zlib's" >&2; exit 1; }

printf '%-24s%9s%10s%9s%10s%8s%11s\n' "case (100 MB)" "ours s" "ours cpu" "tool s" "tool cpu" "ratio" "cpu ratio"
row() {
    awk -v n="$1" -v ow="$2" -v oc="$3" -v tw="$4" -v tc="$5" \
        'BEGIN { printf "%-24s%9.3f%10.3f%9.3f%10.3f%8.2f%11.2f\n", n, ow, oc, tw, tc, tw / ow, tc / oc }'
}
row "Base64 / base64 -w0" "$ours_b64_wall" "$ours_b64_cpu" "$tool_b64_wall" "$tool_b64_cpu"
row "MD5 / md5sum" "$ours_md5_wall" "$ours_md5_cpu" "$tool_md5_wall" "$tool_md5_cpu"
row "CRC-32 / zlib (python)" "$ours_crc_wall" "$ours_crc_cpu" "$tool_crc_wall" "$tool_crc_cpu"
