#!/usr/bin/env bash
# Times our Base64 encoder and MD5 beside coreutils base64 -w0 and md5sum, and
# our CRC-32 beside zlib's (through python3, interpreter start included) on the
# same 100 MB random file, checks that the outputs agree, and prints one table
# (lib.sh's: best wall time of three runs, ratio = ours / theirs, below 1
# means we are faster).
# Usage: bench/compare/base64_md5.sh [build folder]
set -euo pipefail
. "$(dirname "$0")/lib.sh"
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build-bench}"
bench="$build/bench/quillet_bench_encodersbench"
ensure_bench "$build" quillet_bench_encodersbench
require_tools base64 md5sum python3
dir="$(mktemp -d /tmp/quillet-encoders-XXXXXX)"
trap 'rm -rf "$dir"' EXIT
input="$dir/input.bin"
head -c $((100 * 1024 * 1024)) /dev/urandom >"$input"
crc_script='import sys, zlib
crc = 0
with open(sys.argv[1], "rb") as f:
    for block in iter(lambda: f.read(1 << 20), b""):
        crc = zlib.crc32(block, crc)
print(crc)'

# Same answers first: one run of each with its output kept.
"$bench" --run base64 "$input" >"$dir/ours.b64"
base64 -w0 "$input" >"$dir/tool.b64"
"$bench" --run md5 "$input" >"$dir/ours.md5"
md5sum "$input" >"$dir/tool.md5"
"$bench" --run crc32 "$input" >"$dir/ours.crc"
python3 -c "$crc_script" "$input" >"$dir/tool.crc"
cmp -s "$dir/ours.b64" "$dir/tool.b64" || { echo "Base64 output differs from base64 -w0" >&2; exit 1; }
cmp -s "$dir/ours.md5" "$dir/tool.md5" || { echo "MD5 differs from md5sum" >&2; exit 1; }
cmp -s "$dir/ours.crc" "$dir/tool.crc" || { echo "CRC-32 differs from zlib's" >&2; exit 1; }

print_header
print_row "Base64 100 MB / base64 -w0" \
    "$(time_best 3 "$bench" --run base64 "$input")" "$(time_best 3 base64 -w0 "$input")"
print_row "MD5 100 MB / md5sum" \
    "$(time_best 3 "$bench" --run md5 "$input")" "$(time_best 3 md5sum "$input")"
print_row "CRC-32 100 MB / zlib (python)" \
    "$(time_best 3 "$bench" --run crc32 "$input")" "$(time_best 3 python3 -c "$crc_script" "$input")"
