#!/usr/bin/env bash
# Loads the same 100 MB text file (about 3 million lines, mixed lengths, some
# tabs) with the text buffer and with `vim -es`, and prints time, throughput
# and resident memory side by side.
#
# Usage: bench/compare/load.sh [build folder]   (configured with -DQUILLET_BUILD_BENCH=ON)
set -euo pipefail

build="${1:-build}"
bench="$build/bench/quillet_bench_memosourcebench"
if [[ ! -x "$bench" ]]; then
    echo "missing $bench: configure with -DQUILLET_BUILD_BENCH=ON and build quillet_bench_memosourcebench" >&2
    exit 1
fi
if ! command -v vim >/dev/null; then
    echo "vim is not installed (Debian: vim-nox); only the buffer is timed" >&2
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
file="$work/load.txt"

# Deterministic input: the same words and indentation mix as the benchmark.
awk 'BEGIN {
    srand(7); split("int value return for while x counter { } (a, b); // note", w, " ");
    target = 100 * 1024 * 1024; size = 0;
    while (size < target) {
        indent = int(rand() * 4); line = "";
        if (rand() < 0.34) { for (i = 0; i < indent; i++) line = line "\t" }
        else { for (i = 0; i < indent * 4; i++) line = line " " }
        len = int(rand() * 60);
        while (length(line) < len) line = line w[int(rand() * 11) + 1] " ";
        print line; size += length(line) + 1;
    }
}' > "$file"
bytes=$(stat -c %s "$file")
lines=$(wc -l < "$file")

# Buffer: the benchmark's own load figure on this file (best of its iterations).
ours=$(QUILLET_BENCH_LOAD_FILE="$file" "$bench" --benchmark_filter='BM_LoadFile/quick:0' \
    --benchmark_format=csv 2>/dev/null | grep BM_LoadFile | head -1)
ours_ms=$(echo "$ours" | awk -F, '{ printf "%.0f", $3 }')
ours_ratio=$(QUILLET_BENCH_LOAD_FILE="$file" "$bench" --benchmark_filter='BM_LoadFile/quick:0' 2>/dev/null \
    | sed -n 's/.*rss_per_file_byte=\([0-9.]*\).*/\1/p' | head -1)

# vim: load the file and quit, timed with its peak resident size.
vim_ms="-"; vim_ratio="-"
if command -v vim >/dev/null; then
    start=$(date +%s%N)
    /usr/bin/time -f "%M" -o "$work/vim.rss" vim -es -u NONE -i NONE -n "+q!" "$file" </dev/null >/dev/null 2>&1 || true
    end=$(date +%s%N)
    vim_ms=$(( (end - start) / 1000000 ))
    vim_kb=$(tail -1 "$work/vim.rss")
    vim_ratio=$(awk -v k="$vim_kb" -v b="$bytes" 'BEGIN { printf "%.2f", k * 1024 / b }')
fi

printf "file: %d bytes, %d lines\n" "$bytes" "$lines"
printf "%-12s %10s %12s %14s\n" "loader" "time ms" "MB/s" "RSS/file size"
printf "%-12s %10s %12s %14s\n" "TMemoSource" "$ours_ms" \
    "$(awk -v b="$bytes" -v t="$ours_ms" 'BEGIN { printf "%.0f", b / 1048576 / (t / 1000) }')" "$ours_ratio"
if [[ "$vim_ms" != "-" ]]; then
    printf "%-12s %10s %12s %14s\n" "vim -es" "$vim_ms" \
        "$(awk -v b="$bytes" -v t="$vim_ms" 'BEGIN { printf "%.0f", b / 1048576 / (t / 1000) }')" "$vim_ratio"
    printf "ratio vim/ours (time): %s\n" "$(awk -v a="$vim_ms" -v b="$ours_ms" 'BEGIN { printf "%.2f", a / b }')"
fi
