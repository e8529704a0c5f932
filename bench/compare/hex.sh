#!/usr/bin/env bash
# Times the hex editor engine beside standard tools on the same generated
# files in the temporary folder ($TMPDIR, where the editor's work files go):
# - opening a 1 GB file and building the first screen (our whole process)
#   against `cp` of the file into the temporary folder, cold (the best of 3
#   single shots, the input's pages dropped from the cache before each) and
#   warm (best of 3); the machine's other writing makes single shots vary;
#   where the folder can clone files (reflink) the clone is timed instead;
# - a jump to offset 0xB0000000 of a 3 GB file with one screen painted,
#   the first and the best warm one (goal: under 5 ms; no peer);
# - inserting one byte at offset 10 of the 1 GB file and undoing it (median
#   of 5, warm) against `dd if=F of=F2 bs=1M` on the same file system
#   (median of 5), with our peak resident memory;
# - finding a 16-byte pattern that is not in the 1 GB file, exact and
#   ignoring case, against `grep -c -F -a` and `grep -c -i -F -a` (whole
#   processes, best of 3): our first search and the best of 4 more;
# - the resident memory with a 4 GB sparse file open, scrolled end to end
#   and edited near its end (goal: under 300 MB).
# Ratios are ours / theirs: below 1 means we are faster.
# Usage: bench/compare/hex.sh [build folder]   (default build-bench)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build-bench}"
bench="$build/bench/quillet_bench_hexeditorbench"
. "$(dirname "$0")/lib.sh"
ensure_bench "$build" quillet_bench_hexeditorbench
require_tools cp dd grep
export LC_ALL=C
tmp="${TMPDIR:-/tmp}"
dir="$(mktemp -d "$tmp/quillet-hex-compare-XXXXXX")"
trap 'rm -rf "$dir"' EXIT
data="$dir/data.bin"
far="$dir/far.bin"
huge="$dir/huge.bin"
"$bench" --write-input "$data" 1024
"$bench" --write-sparse "$far" 3072 0xB0000000
"$bench" --write-sparse "$huge" 4096 0


row() {
    printf '%-44s %10s %10s %7s  %s\n' "$1" "$2" "$3" "$(ratio "$2" "$3")" "$4"
}

copy_flags=()
if cp --reflink=always "$data" "$dir/clone.bin" 2>/dev/null; then
    copy_flags=(--reflink=always)
    echo "$tmp clones files: both sides clone"
else
    echo "$tmp cannot clone files (no reflink): both sides copy"
fi
rm -f "$dir/clone.bin"
printf '%-44s %10s %10s %7s  %s\n' "1 GB file unless named" "ours (s)" "theirs (s)" "ratio" "goal"

# cold_best COMMAND...: the best of 3 single shots, each after the dirty pages
# were written out (so that no earlier writing competes) and the input's pages
# were dropped; a copy left by cp is removed after each.
cold_best() {
    local best="" t
    for _ in 1 2 3; do
        sync
        "$bench" --evict "$data"
        t=$(time_best 1 "$@")
        rm -f "$dir/copy.bin"
        if [ -z "$best" ] || awk -v a="$t" -v b="$best" 'BEGIN { exit !(a < b) }'; then
            best=$t
        fi
    done
    echo "$best"
}
cold_ours=$(cold_best "$bench" --open "$data")
cold_cp=$(cold_best cp "${copy_flags[@]}" "$data" "$dir/copy.bin")
row "open + first screen, cold vs cp" "$cold_ours" "$cold_cp" "ratio <= 1.2"
warm_ours=$(time_best 3 "$bench" --open "$data")
warm_cp=$(time_best 3 cp "${copy_flags[@]}" "$data" "$dir/copy.bin")
rm -f "$dir/copy.bin"
if [ ${#copy_flags[@]} -gt 0 ]; then
    row "open + first screen, warm vs cp --reflink" "$warm_ours" "$warm_cp" "under 0.050 s"
else
    row "open + first screen, warm vs cp" "$warm_ours" "$warm_cp" "ratio <= 1.2"
fi

read -r seek_first seek_warm <<<"$("$bench" --seek "$far" 0xB0000000)"
row "3 GB: jump to 0xB0000000 + paint, first" "$seek_first" "-" ""
row "3 GB: jump to 0xB0000000 + paint, warm" "$seek_warm" "-" "under 0.005 s"

read -r insert_first undo_first insert_median undo_median insert_peak <<<"$("$bench" --insert "$data")"
dd_runs=()
for _ in 1 2 3 4 5; do
    dd_runs+=("$(time_best 1 dd if="$data" of="$dir/dd.bin" bs=1M)")
    rm -f "$dir/dd.bin"
done
dd_median=$(median_of "${dd_runs[@]}")
row "insert 1 byte at 10, first" "$insert_first" "$dd_median" ""
row "insert 1 byte at 10, median of 5 vs dd" "$insert_median" "$dd_median" "ratio <= 1.5"
row "undo of it, first" "$undo_first" "$dd_median" ""
row "undo of it, median of 5 vs dd" "$undo_median" "$dd_median" "ratio <= 1.5"
row "peak resident MB while inserting" "$insert_peak" "-" "under 300"

for mode in exact nocase; do
    if [ "$mode" = exact ]; then flags=(-c -F -a); else flags=(-c -i -F -a); fi
    read -r found find_first find_warm <<<"$("$bench" --find "$data" "$mode")"
    [ "$found" = "-1" ] || echo "  found a pattern that is not there" >&2
    grep_best=$(time_best 3 sh -c 'grep "$@"; true' sh "${flags[@]}" Quillet-Absent-0 "$data")
    row "find absent 16 bytes ($mode), first vs grep ${flags[*]}" "$find_first" "$grep_best" ""
    row "find absent 16 bytes ($mode), warm vs grep ${flags[*]}" "$find_warm" "$grep_best" "ratio <= 1"
done

read -r resident peak <<<"$("$bench" --resident "$huge")"
row "4 GB sparse open, scrolled, edited: RSS MB" "$resident" "-" "under 300"
row "4 GB sparse: peak resident MB" "$peak" "-" "under 300"
