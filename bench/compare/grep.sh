#!/usr/bin/env bash
# Times our search engine beside GNU grep on the same generated 100 MB text.
# Counting: every match of a literal (case-sensitive and ignoring case) and of
# the pattern {ab}+c (grep -E '(ab)+c'), against `grep -o ... | wc -l` (which
# has to find every match) and `grep -c` (matching lines only; with its output
# on /dev/null grep would stop at the first match). Both count runs are whole
# processes that read the file. Then Find Next and Find Previous over the
# whole document in a text buffer (a text that is not there, so the search
# runs from one end to the other): the first search on the freshly loaded
# buffer and the best repeated one, against `grep -c` of the same text. Then
# replace-all of a frequent word at 10 and 100 MB with one undo, on the file
# opened as a document, with the peak resident memory per file byte.
# Ratios are ours / grep: below 1 means we are faster. Each count figure is
# the best of three runs; CPU is user + system time, meaningful on a busy
# machine where the wall time includes waiting for a core.
# Usage: bench/compare/grep.sh [build folder]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build-bench}"
bench="$build/bench/quillet_bench_regexprbench"
. "$(dirname "$0")/lib.sh"
ensure_bench "$build" quillet_bench_regexprbench
require_tools grep
export LC_ALL=C
dir="$(mktemp -d /tmp/quillet-grep-XXXXXX)"
trap 'rm -rf "$dir"' EXIT
input="$dir/input.txt"
"$bench" --write-input "$input" 100


printf '%-30s %9s %9s %9s %9s %9s %9s %7s %7s\n' \
    "count (100 MB)" "ours" "grep" "our wall" "grep wall" "our cpu" "grep cpu" "wall x" "cpu x"
status=0
# run_case LABEL MODE TEXT PEER: PEER is a shell command reading "$0" that
# prints one number.
run_case() {
    local label="$1" mode="$2" text="$3" peer="$4"
    local ours_wall ours_cpu tool_wall tool_cpu ours_count tool_count
    read -r ours_wall ours_cpu <<<"$(best_of3 "$dir/ours.out" "$bench" --count "$mode" "$text" "$input")"
    ours_count=$(cat "$dir/ours.out")
    read -r tool_wall tool_cpu <<<"$(best_of3 "$dir/tool.out" bash -c "$peer" "$input")"
    tool_count=$(tr -d ' ' <"$dir/tool.out")
    printf '%-30s %9s %9s %9s %9s %9s %9s %7s %7s\n' "$label" "$ours_count" "$tool_count" \
        "$ours_wall" "$tool_wall" "$ours_cpu" "$tool_cpu" \
        "$(ratio "$ours_wall" "$tool_wall")" "$(ratio "$ours_cpu" "$tool_cpu")"
}
# Our count is of matches; grep -c counts lines, so only -o | wc -l must agree.
check_count() {
    if [ "$(cat "$dir/ours.out")" != "$(tr -d ' ' <"$dir/tool.out")" ]; then
        echo "  counts differ" >&2
        status=1
    fi
}
run_case "literal vs grep -o|wc" literal needle 'grep -o -F needle "$0" | wc -l'
check_count
run_case "literal vs grep -c" literal needle 'grep -c -F needle "$0"'
run_case "any case vs grep -o|wc" nocase needle 'grep -o -i -F needle "$0" | wc -l'
check_count
run_case "any case vs grep -c" nocase needle 'grep -c -i -F needle "$0"'
run_case "{ab}+c vs grep -oE|wc" pattern '{ab}+c' "grep -o -E '(ab)+c' \"\$0\" | wc -l"
check_count
run_case "{ab}+c vs grep -cE" pattern '{ab}+c' "grep -c -E '(ab)+c' \"\$0\""

echo
printf '%-30s %9s %9s %9s %9s %7s %7s\n' "find in a buffer (100 MB)" "first s" "warm s" "grep s" "grep cpu" "first x" "warm x"
find_case() {
    local label="$1" mode="$2" text="$3" direction="$4" peer="$5"
    local line first warm tool_wall tool_cpu
    read -r line first warm <<<"$("$bench" --find "$mode" "$text" "$input" "$direction")"
    read -r tool_wall tool_cpu <<<"$(best_of3 "$dir/tool.out" bash -c "$peer" "$input")"
    printf '%-30s %9s %9s %9s %9s %7s %7s\n' "$label" "$first" "$warm" "$tool_wall" "$tool_cpu" \
        "$(ratio "$first" "$tool_wall")" "$(ratio "$warm" "$tool_wall")"
    [ "$line" = "-1" ] || { echo "  found a text that is not there" >&2; status=1; }
}
find_case "Find Next literal" literal zebra forward 'grep -c -F zebra "$0"'
find_case "Find Previous literal" literal zebra backward 'grep -c -F zebra "$0"'
find_case "Find Next any case" nocase zebra forward 'grep -c -i -F zebra "$0"'
find_case "Find Previous any case" nocase zebra backward 'grep -c -i -F zebra "$0"'
find_case "Find Next {ze}+bra" pattern '{ze}+bra' forward "grep -c -E '(ze)+bra' \"\$0\""

echo
printf '%-28s %12s %10s %12s %8s %-9s %s\n' "replace-all the -> a" "replacements" "seconds" "us/replace" "undo s" \
    "one undo" "peak RSS / file"
for size in 10 100; do
    "$bench" --write-input "$dir/replace.txt" "$size"
    read -r count secs undo restored peak <<<"$("$bench" --replace-all the a "$dir/replace.txt")"
    printf '%-28s %12s %10s %12s %8s %-9s %s\n' "$size MB" "$count" "$secs" \
        "$(awk -v s="$secs" -v n="$count" 'BEGIN { printf "%.2f", s * 1e6 / n }')" "$undo" "$restored" \
        "$(awk -v p="$peak" -v m="$size" 'BEGIN { printf "%.2f", p / m }')"
    [ "$restored" = "restored" ] || status=1
done
exit $status
