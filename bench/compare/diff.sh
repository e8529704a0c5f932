#!/usr/bin/env bash
# Times the line difference engine beside GNU diff on the same generated
# pairs, both as whole processes that read the two files:
# - 200,000 lines against a copy with 3,000 scattered edits: ours (reading,
#   numbering the lines and the edit script) against `diff` and
#   `diff --minimal`;
# - 20,000 distinct lines against a shuffled copy (D close to 2N), exact on
#   both sides: ours against `diff --minimal`.
# After one warm-up each, the two run alternately five times; the median wall
# time is shown with the ratio ours / theirs (below 1 means we are faster).
# Ours uses a second thread where the machine has one; the rows "one thread"
# keep it to the caller's thread.
# Our marked lines (adds + deletes + 2 x modifies) must equal the lines
# `diff --minimal` marks with "<" or ">".
# Then, on 50,000 distinct lines against a shuffled copy (a run of a few
# seconds): the progress reports (one per full second), the engine's cancel
# latency (a request seen when events run, every 10 ms) and the compare
# window's, from pressing Cancel until the comparison returned; and the time
# to open the window on the 200,000-line pair (files read, compared, rows
# built, both views painted; median of five processes).
# Usage: bench/compare/diff.sh [build folder]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build-bench}"
bench="$build/bench/quillet_bench_diffbench"
window="$build/bench/quillet_bench_comparewindowbench"
. "$(dirname "$0")/lib.sh"
ensure_bench "$build" quillet_bench_diffbench quillet_bench_comparewindowbench
require_tools diff
export LC_ALL=C
work="$(mktemp -d /tmp/quillet-diff-XXXXXX)"
trap 'rm -rf "$work"' EXIT
"$bench" --write-pair "$work/edits" 200000 3000 20261210
"$bench" --write-shuffled "$work/shuffled" 20000 20261210
"$bench" --write-shuffled "$work/long" 50000 20261210

status=0
printf '%-36s %9s %9s %7s %9s %9s %s\n' "case" "ours (s)" "peer (s)" "ratio" "ours" "peer" "agree"
# run_case LABEL PAIR PEER-OPTIONS [THREADS]: times ours (with THREADS=1 on
# the caller's thread alone) and `diff PEER-OPTIONS` on the pair.
run_case() {
    local label="$1" pair="$work/$2" options="$3" threads="${4:-2}" ours peer marked minimal agree
    read -r ours peer <<<"$(median5 "QUILLET_DIFF_THREADS=$threads '$bench' --diff '$pair/a.txt' '$pair/b.txt'" \
        "diff $options '$pair/a.txt' '$pair/b.txt'")"
    read -r _ marked <<<"$(QUILLET_DIFF_THREADS=$threads "$bench" --diff "$pair/a.txt" "$pair/b.txt")"
    minimal=$(diff --minimal "$pair/a.txt" "$pair/b.txt" | grep -c '^[<>]' || true)
    agree=yes
    if [ "$marked" != "$minimal" ]; then
        agree=NO
        status=1
    fi
    printf '%-36s %9s %9s %7s %9s %9s %s\n' "$label" "$ours" "$peer" "$(ratio "$ours" "$peer")" \
        "$marked" "$minimal" "$agree"
}
run_case "200,000 lines, 3,000 edits vs diff" edits ""
run_case "  the same, one thread" edits "" 1
run_case "200,000 lines, 3,000 edits vs -d" edits "--minimal"
run_case "20,000 lines shuffled vs diff -d" shuffled "--minimal"
run_case "  the same, one thread" shuffled "--minimal" 1

echo
echo "progress on 50,000 shuffled lines (ms value):"
"$bench" --progress "$work/long/a.txt" "$work/long/b.txt" >"$work/progress.txt"
sed 's/^/  /' "$work/progress.txt"
# One report per elapsed full second, each within 100 ms after it.
if ! awk '$1 == "tick" { n++; if ($2 < n * 1000 || $2 > n * 1000 + 100) bad = 1 }
          $1 == "done" { if (n > int($2 / 1000) || n < int(($2 - 100) / 1000)) bad = 1 }
          END { exit bad || n == 0 }' "$work/progress.txt"; then
    echo "  progress reports are missing or not one per full second" >&2
    status=1
fi

echo
printf '%-44s %10s %s\n' "latency" "ms" "goal"
latency_row() {
    local label="$1" ms="$2" goal="$3" state="$4" expected="$5"
    printf '%-44s %10s < %s ms %s\n' "$label" "$ms" "$goal" "$state"
    if [ "$state" != "$expected" ] || ! awk -v a="$ms" -v g="$goal" 'BEGIN { exit !(a < g) }'; then
        status=1
    fi
}
read -r state ms <<<"$("$bench" --cancel "$work/long/a.txt" "$work/long/b.txt" 500)"
latency_row "engine: cancel to Execute returning" "$ms" 100 "$state" returned
read -r ms state <<<"$("$window" --cancel "$work/long/a.txt" "$work/long/b.txt" 500 2>/dev/null)"
latency_row "window: Cancel pressed to comparison ending" "$ms" 100 "$state" cancelled
opens=()
walls=()
for i in 1 2 3 4 5; do
    start=$(date +%s%N)
    read -r ms _ <<<"$("$window" --open "$work/edits/a.txt" "$work/edits/b.txt" 2>/dev/null)"
    end=$(date +%s%N)
    opens+=("$ms")
    walls+=($(((end - start) / 1000000)))
done
open=$(printf '%s\n' "${opens[@]}" | sort -n | sed -n 3p)
wall=$(printf '%s\n' "${walls[@]}" | sort -n | sed -n 3p)
latency_row "window open, 200,000 lines (in process)" "$open" 1000 ok ok
# The whole process adds starting the program (Qt, fonts) to the same steps.
printf '%-44s %10s (the program started too)\n' "window open, 200,000 lines (whole process)" "$wall"
exit $status
