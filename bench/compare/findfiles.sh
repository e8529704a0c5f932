#!/usr/bin/env bash
# Times the find-in-files engine beside grep (and ripgrep when it is installed)
# on the same trees: a seeded generated tree of about 100 MB and every *.h
# under /usr/include. Cases: a literal, the same literal in any case, and
# regular expressions that mean the same in both dialects (one also in any
# case). Every tool writes
# its output to a file; after one warm-up each, the two run alternately five
# times and the median wall time is shown, with the ratio ours / theirs (below
# 1 means we are faster). The matching lines (file and line number) must agree
# with grep's; the peers follow symbolic links (grep -R, rg -L) as our walk
# does, but enter a folder reached through two links twice (under
# /usr/include, clang/14 and clang/14.0.6), so pattern cases may list more. (The patterns never end in a blank: like the editor, the search
# drops the blanks at the end of each line, which grep keeps.) Then the result window takes 100,000 matches from one 5 MB file:
# the longest pause of its event loop and the memory it grew by.
# Usage: bench/compare/findfiles.sh [build folder]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build-bench}"
bench="$build/bench/quillet_bench_findinfilesenginebench"
window="$build/bench/quillet_bench_findinfileswindowbench"
. "$(dirname "$0")/lib.sh"
ensure_bench "$build" quillet_bench_findinfilesenginebench quillet_bench_findinfileswindowbench
export LC_ALL=C
work="$(mktemp -d /tmp/quillet-findfiles-XXXXXX)"
trap 'rm -rf "$work"' EXIT
tree="$work/tree"
"$bench" --write-tree "$tree" 100 20261210
have_rg=0
command -v rg >/dev/null && have_rg=1

status=0
printf '%-50s %9s %9s %7s %9s %s\n' "case" "ours (s)" "peer (s)" "ratio" "lines" "agree"
# run_case LABEL MODE TEXT DIR MASKS PEER-NAME PEER-COMMAND
run_case() {
    local label="$1" mode="$2" text="$3" dir="$4" masks="$5" peer="$6" peer_cmd="$7"
    local ours_cmd="'$bench' --search $mode '$text' '$dir' '$masks' >'$work/ours.out'"
    local times ours theirs agree lines
    times=$(median5 "$ours_cmd" "$peer_cmd >'$work/peer.out'")
    read -r ours theirs <<<"$times"
    sort -u "$work/ours.out" >"$work/ours.sorted"
    cut -d: -f1,2 "$work/peer.out" | sort -u >"$work/peer.sorted"
    lines=$(wc -l <"$work/ours.sorted")
    if cmp -s "$work/ours.sorted" "$work/peer.sorted"; then
        agree=yes
    else
        agree="NO ($(wc -l <"$work/peer.sorted") lines)"
        # The literal cases must agree; a pattern may differ only where grep
        # -R enters one folder through two links, which our walk enters once.
        [ "$peer" = grep ] && [[ "$mode" != *pattern ]] && status=1
    fi
    printf '%-50s %9s %9s %7s %9s %s\n' "$label vs $peer" "$ours" "$theirs" \
        "$(awk -v a="$ours" -v b="$theirs" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }')" "$lines" "$agree"
}

for where in tree include; do
    if [ "$where" = tree ]; then
        dir="$tree" masks="*" include="" name="100 MB tree"
    else
        dir=/usr/include masks="*.h" include="--include=*.h" name="/usr/include *.h"
    fi
    run_case "$name: literal" literal needle "$dir" "$masks" grep "grep -RnaF $include needle '$dir'"
    run_case "$name: any case" nocase needle "$dir" "$masks" grep "grep -RnaiF $include needle '$dir'"
    run_case "$name: ne+dle" pattern 'ne+dle' "$dir" "$masks" grep "grep -RnaE $include 'ne+dle' '$dir'"
    run_case "$name: [a-z]+_t\\(" pattern '[a-z]+_t\(' "$dir" "$masks" grep "grep -RnaE $include '[a-z]+_t\(' '$dir'"
    run_case "$name: st[a-z]*c [cv]" pattern 'st[a-z]*c [cv]' "$dir" "$masks" grep "grep -RnaE $include 'st[a-z]*c [cv]' '$dir'"
    run_case "$name: st[a-z]*c [cv] any case" nocase-pattern 'st[a-z]*c [cv]' "$dir" "$masks" grep "grep -RnaiE $include 'st[a-z]*c [cv]' '$dir'"
    if [ "$have_rg" = 1 ]; then
        glob=""
        [ -n "$include" ] && glob="-g '*.h'"
        run_case "$name: literal" literal needle "$dir" "$masks" rg "rg -j1 -uuu -L -a -n $glob -F needle '$dir'"
        run_case "$name: any case" nocase needle "$dir" "$masks" rg "rg -j1 -uuu -L -a -n $glob -i -F needle '$dir'"
    fi
done
[ "$have_rg" = 1 ] || echo "(ripgrep not installed: apt-get install ripgrep to compare with it)"

echo
one="$work/one"
mkdir -p "$one"
awk 'BEGIN { for (i = 0; i < 100000; i++) printf "needle %07d some context text here and more..\n", i }' >"$one/big.txt"
read -r count pause cpu grown <<<"$("$window" --window-pauses "$one" 2>/dev/null)"
printf 'result window: %s matches from one %s MB file, longest event-loop pause %s ms (%s ms of CPU), memory +%s MiB (+%s MB)\n' \
    "$count" "$(du -m "$one/big.txt" | cut -f1)" "$pause" "$cpu" "$grown" "$(awk -v m="$grown" 'BEGIN { printf "%.1f", m * 1.048576 }')"
echo "(load average: $(cut -d' ' -f1-3 /proc/loadavg); the wall pause includes time the machine gave to others)"
[ "$count" = 100000 ] || status=1
exit $status
