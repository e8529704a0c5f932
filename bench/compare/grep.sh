#!/usr/bin/env bash
# Times our search engine beside GNU grep on the same generated 100 MB text:
# counting every match of a literal (case-sensitive and ignoring case) and of
# the pattern {ab}+c (grep -E '(ab)+c'). grep runs as `grep -o ... | wc -l`, so
# it has to find every match (with its output on /dev/null grep stops at the
# first). Checks that both count the same and prints one table with ratios
# (grep time / our time: above 1 means we are faster). Then replace-all of a
# frequent word at 10 and 100 MB in the text buffer, with one undo, to show
# that the time per replacement stays flat. Each grep/count figure is the best
# of three runs; CPU is user + system time, meaningful on a busy machine.
# Usage: bench/compare/grep.sh [build folder]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build-bench}"
bench="$build/bench/quillet_bench_regexprbench"
if [ ! -x "$bench" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLET_BUILD_BENCH=ON >/dev/null
    cmake --build "$build" --target quillet_bench_regexprbench -j2 >/dev/null
fi
command -v grep >/dev/null || { echo "missing tool: grep" >&2; exit 1; }
export LC_ALL=C
dir="$(mktemp -d /tmp/quillet-grep-XXXXXX)"
trap 'rm -rf "$dir"' EXIT
input="$dir/input.txt"
"$bench" --write-input "$input" 100

. "$(dirname "$0")/lib.sh"

ratio() {
    awk -v t="$1" -v o="$2" 'BEGIN { if (o > 0) printf "%.2f", t / o; else print "-" }'
}

printf '%-28s %10s %10s %9s %9s %9s %9s %8s %8s\n' \
    "case (100 MB)" "ours" "grep" "our wall" "grep wall" "our cpu" "grep cpu" "wall x" "cpu x"
status=0
run_case() {
    local label="$1" mode="$2" text="$3"
    shift 3
    local ours_wall ours_cpu tool_wall tool_cpu ours_count tool_count
    read -r ours_wall ours_cpu <<<"$(best_of3 "$dir/ours.out" "$bench" --count "$mode" "$text" "$input")"
    ours_count=$(cat "$dir/ours.out")
    read -r tool_wall tool_cpu <<<"$(best_of3 "$dir/tool.out" bash -c "grep $* \"\$0\" | wc -l" "$input")"
    tool_count=$(tr -d ' ' <"$dir/tool.out")
    printf '%-28s %10s %10s %9s %9s %9s %9s %8s %8s\n' "$label" "$ours_count" "$tool_count" \
        "$ours_wall" "$tool_wall" "$ours_cpu" "$tool_cpu" \
        "$(ratio "$tool_wall" "$ours_wall")" "$(ratio "$tool_cpu" "$ours_cpu")"
    if [ "$ours_count" != "$tool_count" ]; then
        echo "  counts differ" >&2
        status=1
    fi
}
run_case "literal needle" literal needle -o -F needle
run_case "literal needle, any case" nocase needle -o -i -F needle
run_case "pattern {ab}+c" pattern '{ab}+c' -o -E "'(ab)+c'"

echo
printf '%-28s %12s %10s %12s %8s %s\n' "replace-all the -> a" "replacements" "seconds" "us/replace" "undo s" "one undo"
for size in 10 100; do
    "$bench" --write-input "$dir/replace.txt" "$size"
    read -r count secs undo restored <<<"$("$bench" --replace-all the a "$dir/replace.txt")"
    printf '%-28s %12s %10s %12s %8s %s\n' "$size MB" "$count" "$secs" \
        "$(awk -v s="$secs" -v n="$count" 'BEGIN { printf "%.2f", s * 1e6 / n }')" "$undo" "$restored"
    [ "$restored" = "restored" ] || status=1
done
exit $status
