#!/usr/bin/env bash
# Times our charset conversion beside the iconv program and iconv(3) on the
# same 100 MB inputs (UTF-8 to Windows-1250 and back, UCS-2LE to the system
# code page, and opening a UTF-8 file) and prints one table with ratios
# (iconv time / our time: above 1 means we are faster).
# Usage: bench/compare/charsets.sh [build folder]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build-bench}"
bench="$build/bench/quillet_bench_charsetbench"
if [ ! -x "$bench" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLET_BUILD_BENCH=ON >/dev/null
    cmake --build "$build" --target quillet_bench_charsetbench -j2 >/dev/null
fi
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

seconds() {
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }'
}
cli_utf8_1250=$(seconds iconv -f UTF-8 -t WINDOWS-1250 "$dir/utf8.txt")
cli_1250_utf8=$(seconds iconv -f WINDOWS-1250 -t UTF-8 "$dir/cp1250.txt")
cli_ucs2=$(seconds iconv -f UCS-2LE -t WINDOWS-1250 "$dir/ucs2le.txt")

QUILLET_CHARSET_BENCH_DIR="$dir" "$bench" --benchmark_format=json --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true >"$dir/result.json" 2>/dev/null

python3 - "$dir/result.json" "$cli_utf8_1250" "$cli_1250_utf8" "$cli_ucs2" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["benchmarks"]
median = {}
for b in results:
    if b.get("aggregate_name") == "median":
        median[b["run_name"].split("/")[0]] = b["real_time"] / 1000.0  # ms -> s
cli = {"Utf8To1250": float(sys.argv[2]), "1250ToUtf8": float(sys.argv[3]), "Ucs2LEToSystem": float(sys.argv[4])}
print(f"{'case':<26}{'ours s':>9}{'iconv(3) s':>12}{'ratio':>8}{'iconv prog s':>14}{'ratio':>8}")
rows = [("UTF-8 -> Windows-1250", "Utf8To1250"), ("Windows-1250 -> UTF-8", "1250ToUtf8"),
        ("UCS-2LE -> system CP", "Ucs2LEToSystem")]
for label, key in rows:
    ours = median["BM_Ours_" + key]
    lib = median["BM_Iconv_" + key]
    print(f"{label:<26}{ours:>9.3f}{lib:>12.3f}{lib / ours:>8.2f}{cli[key]:>14.3f}{cli[key] / ours:>8.2f}")
ours = median["BM_Ours_OpenUtf8File"]
print(f"{'open 100 MB UTF-8 file':<26}{ours:>9.3f}{'':>12}{'':>8}{cli['Utf8To1250']:>14.3f}{cli['Utf8To1250'] / ours:>8.2f}")
ours = median["BM_Ours_OpenUtf8FileIntoBuffer"]
print(f"{'  ... into a text buffer':<26}{ours:>9.3f}{'':>12}{'':>8}{cli['Utf8To1250']:>14.3f}{cli['Utf8To1250'] / ours:>8.2f}")
PY
