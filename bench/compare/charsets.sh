#!/usr/bin/env bash
# Times our charset conversion beside the iconv program and iconv(3) on the
# same 100 MB inputs (UTF-8 to Windows-1250 and back, UCS-2LE to the system
# code page) in two ways, and prints ratios ours / theirs (below 1 means we
# are faster):
# - whole processes: our benchmark program in its --convert mode against the
#   iconv program, each reading the file and writing the result to
#   /dev/null; best of three, wall and CPU time;
# - in process: the conversion of bytes already in memory against iconv(3)
#   (median of three), and opening a UTF-8 file into a text buffer.
# Mixing the two (an in-process figure beside a whole iconv process) is what
# made earlier tables disagree.
# Usage: bench/compare/charsets.sh [build folder]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build-bench}"
bench="$build/bench/quillet_bench_charsetbench"
. "$(dirname "$0")/lib.sh"
ensure_bench "$build" quillet_bench_charsetbench
dir="$(mktemp -d /tmp/quillet-charsets-XXXXXX)"
trap 'rm -rf "$dir"' EXIT

# The same text the benchmark generates: Czech program text, 100 MB of UTF-8.
python3 - "$dir" <<'PY'
import sys, pathlib
d = pathlib.Path(sys.argv[1])
lines = [
    "    // Přidá řádek do seznamu a vrátí jeho číslo (žluťoučký kůň úpěl ďábelské ódy)\n",
    "    int count = items.size(); if (count > 0) { return items[count - 1].value; }\n",
    "    std::string název = \"Příliš žluťoučký kůň\"; // čeština, slovenčina: ľúbostná báseň\n",
    "    for (std::size_t i = 0; i < n; ++i) { total += weights[i] * values[i]; }\n",
]
block = "".join(lines).encode("utf-8")
size = 100 << 20
data = block * (size // len(block) + 1)
# Cut at a line end at or past the size, as the benchmark does.
cut = data.index(b"\n", size - 200) + 1 if len(data) > size else len(data)
utf8 = data[:cut]
(d / "utf8.txt").write_bytes(utf8)
text = utf8.decode("utf-8")
(d / "cp1250.txt").write_bytes(text.encode("cp1250"))
(d / "ucs2le.txt").write_bytes(text.encode("utf-16-le"))
PY

printf '%-26s %9s %9s %9s %9s %7s %7s\n' "whole process (100 MB)" "our wall" "our cpu" "iconv" "iconv cpu" "wall x" "cpu x"
process_case() {
    local label="$1" from="$2" to="$3" file="$4" ifrom="$5" ito="$6"
    local ow oc tw tc
    read -r ow oc <<<"$(best_of3 /dev/null "$bench" --convert "$from" "$to" "$dir/$file")"
    read -r tw tc <<<"$(best_of3 /dev/null iconv -f "$ifrom" -t "$ito" "$dir/$file")"
    printf '%-26s %9s %9s %9s %9s %7s %7s\n' "$label" "$ow" "$oc" "$tw" "$tc" "$(ratio "$ow" "$tw")" "$(ratio "$oc" "$tc")"
}
process_case "UTF-8 -> Windows-1250" utf8 1250 utf8.txt UTF-8 WINDOWS-1250
process_case "Windows-1250 -> UTF-8" 1250 utf8 cp1250.txt WINDOWS-1250 UTF-8
process_case "UCS-2LE -> system CP" ucs2le 1250 ucs2le.txt UCS-2LE WINDOWS-1250
# The iconv program's output must be ours byte for byte.
"$bench" --convert utf8 1250 "$dir/utf8.txt" | cmp -s - <(iconv -f UTF-8 -t WINDOWS-1250 "$dir/utf8.txt") \
    || echo "  UTF-8 -> Windows-1250 output differs from iconv" >&2
"$bench" --convert 1250 utf8 "$dir/cp1250.txt" | cmp -s - <(iconv -f WINDOWS-1250 -t UTF-8 "$dir/cp1250.txt") \
    || echo "  Windows-1250 -> UTF-8 output differs from iconv" >&2
echo
cli_utf8_1250=$(best_of3 /dev/null iconv -f UTF-8 -t WINDOWS-1250 "$dir/utf8.txt" | cut -d' ' -f1)

QUILLET_CHARSET_BENCH_DIR="$dir" "$bench" --benchmark_format=json --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true >"$dir/result.json" 2>/dev/null

python3 - "$dir/result.json" "$cli_utf8_1250" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["benchmarks"]
median = {}
for b in results:
    if b.get("aggregate_name") == "median":
        median[b["run_name"].split("/")[0]] = (b["real_time"] / 1000.0, b["cpu_time"] / 1000.0)  # ms -> s
print(f"{'in process (100 MB)':<26}{'ours s':>9}{'ours cpu':>10}{'iconv(3) s':>12}{'cpu':>8}{'wall x':>8}{'cpu x':>8}")
rows = [("UTF-8 -> Windows-1250", "Utf8To1250"), ("Windows-1250 -> UTF-8", "1250ToUtf8"),
        ("UCS-2LE -> system CP", "Ucs2LEToSystem")]
for label, key in rows:
    ow, oc = median["BM_Ours_" + key]
    lw, lc = median["BM_Iconv_" + key]
    print(f"{label:<26}{ow:>9.3f}{oc:>10.3f}{lw:>12.3f}{lc:>8.3f}{ow / lw:>8.2f}{oc / lc:>8.2f}")
cli = float(sys.argv[2])
for label, key in [("open 100 MB UTF-8 file", "OpenUtf8File"), ("  ... into a text buffer", "OpenUtf8FileIntoBuffer")]:
    ow, oc = median["BM_Ours_" + key]
    print(f"{label:<26}{ow:>9.3f}{oc:>10.3f}   (iconv program UTF-8 -> 1250: {cli:.3f} s, ratio {ow / cli:.2f})")
PY
