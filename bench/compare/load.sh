#!/usr/bin/env bash
# Opens the same 100 MB text file (about 3 million lines, mixed lengths, some
# tabs) with the program and with `vim -es -u NONE`, both as whole processes
# in the same run, and prints the time from start to the first painted screen
# (ours: QUILLET_EXIT_AFTER_PAINT ends the program right after it), the peak
# resident memory of each, and ours/theirs (below 1: we are faster / smaller).
#
# Usage: bench/compare/load.sh [build folder]   (default build-bench; the
# folder holds the `quillet` program, best built in Release)
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/bench/compare/lib.sh"
build="${1:-$root/build-bench}"
program="$build/quillet"
if [[ ! -x "$program" ]]; then
    echo "missing $program: build the quillet target in $build" >&2
    exit 1
fi
install_missing() {
    if [[ $(id -u) -eq 0 ]] && command -v apt-get >/dev/null; then
        DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends "$@" \
            >/dev/null
    fi
}
command -v vim >/dev/null || install_missing vim
[[ -x /usr/bin/time ]] || install_missing time
if ! command -v vim >/dev/null || [[ ! -x /usr/bin/time ]]; then
    echo "vim and GNU time are needed (Debian: vim, time)" >&2
    exit 1
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
file="$work/load.txt"

# Deterministic input: words and indentation in a fixed mix.
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
}' >"$file"
bytes=$(stat -c %s "$file")
lines=$(wc -l <"$file")

# Our program runs with settings, runtime and temporary folders of its own, so
# that no other instance takes the file over and no user settings apply.
mkdir -p "$work/home" "$work/tmp"
chmod 700 "$work/tmp"
ours=(env HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
    XDG_RUNTIME_DIR="$work/tmp" TMPDIR="$work/tmp" QT_QPA_PLATFORM=offscreen QUILLET_EXIT_AFTER_PAINT=1
    "$program" "$file")
theirs=(vim -es -u NONE -i NONE -n "+q!" "$file")

# run_measured NAME COMMAND...: one whole process under GNU time; appends
# "seconds kB" to $work/NAME.
run_measured() {
    local name="$1"
    shift
    /usr/bin/time -f "%e %M" -o "$work/$name.one" "$@" </dev/null >/dev/null 2>&1 || true
    tail -1 "$work/$name.one" >>"$work/$name"
}
# Warm the page cache once, then alternate the two so both meet the same machine.
cat "$file" >/dev/null
for _ in 1 2 3; do
    run_measured ours "${ours[@]}"
    run_measured theirs "${theirs[@]}"
done
best() { sort -n "$work/$1" | head -1 | cut -d' ' -f1; }
peak() { sort -n -k2 "$work/$1" | tail -1 | cut -d' ' -f2; }

printf "file: %d bytes, %d lines\n" "$bytes" "$lines"
print_header
print_row "start to first paint, 100 MB" "$(best ours)" "$(best theirs)"
printf '%-40s %10s %10s %8s\n' "peak RSS (MiB)" \
    "$(awk -v k="$(peak ours)" 'BEGIN { printf "%.0f", k / 1024 }')" \
    "$(awk -v k="$(peak theirs)" 'BEGIN { printf "%.0f", k / 1024 }')" \
    "$(awk -v a="$(peak ours)" -v b="$(peak theirs)" 'BEGIN { printf "%.2f", a / b }')"
printf "peak RSS / file size: ours %s, vim %s\n" \
    "$(awk -v k="$(peak ours)" -v b="$bytes" 'BEGIN { printf "%.2f", k * 1024 / b }')" \
    "$(awk -v k="$(peak theirs)" -v b="$bytes" 'BEGIN { printf "%.2f", k * 1024 / b }')"
