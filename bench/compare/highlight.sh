#!/usr/bin/env bash
# Times our highlighter beside two standard ones on the same generated 20 MB
# C++ file: kate-syntax-highlighter -s C++ -f html (Debian package
# libkf5syntaxhighlighting-tools) and GNU source-highlight -s cpp -f html,
# each where installed (without them the table has our row only).
# Ours runs in the benchmark program's plain mode: it loads the shipped C++
# definition, reads the file and colours every line, writing nothing; the
# others also write HTML (to a file in the temporary folder), so the ratios
# favour them slightly. Every program is a whole process: one warm-up of each,
# then five rounds that run each once in turn; each figure is the median of
# its five runs. CPU is user + system time, which stays meaningful on a busy
# machine; MB/s is the file size over CPU time. Ratio = our time / the tool's
# time: below 1 means we are faster (goals: ours/kate-syntax-highlighter at
# most 0.05, ours 100 MB/s or more).
# Usage: bench/compare/highlight.sh [build folder]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build-bench}"
bench="$build/bench/quillet_bench_syntaxparserbench"
. "$(dirname "$0")/lib.sh"
ensure_bench "$build" quillet_bench_syntaxparserbench
dir="$(mktemp -d /tmp/quillet-highlight-XXXXXX)"
trap 'rm -rf "$dir"' EXIT
input="$dir/input.cpp"
"$bench" --generate "$input"
size_mb=$(awk -v b="$(stat -c %s "$input")" 'BEGIN { printf "%.1f", b / 1048576 }')

# add_row NAME ARGS...: adds a row named NAME that runs ARGS.
names=()
commands=()
add_row() {
    local line
    names+=("$1")
    shift
    printf -v line '%q ' "$@"
    commands+=("$line")
}
add_row "quillet (colour only)" "$bench" --run "$input"
if command -v kate-syntax-highlighter >/dev/null; then
    add_row "kate-syntax-highlighter -f html" env QT_QPA_PLATFORM=offscreen \
        kate-syntax-highlighter -s C++ -f html -o "$dir/kate.html" "$input"
else
    echo "kate-syntax-highlighter not installed (Debian: libkf5syntaxhighlighting-tools)" >&2
fi
if command -v source-highlight >/dev/null; then
    add_row "source-highlight -f html" source-highlight -s cpp -f html -i "$input" -o "$dir/gnu.html"
else
    echo "source-highlight not installed (Debian: source-highlight)" >&2
fi

times=$(median_rounds 5 "${commands[@]}")
mapfile -t medians <<<"$times"
read -r ours_wall ours_cpu <<<"${medians[0]}"
printf '%-34s%9s%10s%10s%13s%17s\n' "highlighter (${size_mb} MB C++)" "wall s" "cpu s" "MB/s cpu" "ours/theirs" "ours/theirs cpu"
for i in "${!names[@]}"; do
    read -r wall cpu <<<"${medians[i]}"
    awk -v n="${names[i]}" -v w="$wall" -v c="$cpu" -v ow="$ours_wall" -v oc="$ours_cpu" -v mb="$size_mb" \
        'BEGIN { printf "%-34s%9.3f%10.3f%10.1f%13.3f%17.3f\n", n, w, c, (c > 0 ? mb / c : 0), (w > 0 ? ow / w : 0), (c > 0 ? oc / c : 0) }'
done
