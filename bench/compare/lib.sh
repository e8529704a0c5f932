# Shared helpers for the bench/compare scripts. Source it:
#   . "$(dirname "$0")/lib.sh"
#   ours=$(time_best 5 ./our-tool input)
#   theirs=$(time_best 5 md5sum input)
#   print_header
#   print_row "md5 of 100 MB" "$ours" "$theirs"
# Keep it POSIX sh plus `date +%s%N` (GNU coreutils), except best_of3,
# timed_run, median_rounds, median5 and require_tools (bash: local).

# time_best N cmd [args...]: runs cmd N times (output discarded) and prints the
# best wall-clock time in seconds with three decimals. A failing run prints
# "fail" and returns 1.
time_best() {
    runs=$1
    shift
    best=""
    i=0
    while [ "$i" -lt "$runs" ]; do
        start=$(date +%s%N)
        if ! "$@" >/dev/null 2>&1; then
            echo fail
            return 1
        fi
        end=$(date +%s%N)
        elapsed=$((end - start))
        if [ -z "$best" ] || [ "$elapsed" -lt "$best" ]; then
            best=$elapsed
        fi
        i=$((i + 1))
    done
    awk -v ns="$best" 'BEGIN { printf "%.3f\n", ns / 1e9 }'
}

# print_header: the table head for print_row.
print_header() {
    printf '%-40s %10s %10s %8s\n' "benchmark" "ours (s)" "theirs (s)" "ratio"
}

# ratio OURS THEIRS: ours / theirs with two decimals (below 1 means we are
# faster); "-" when either is no time (missing, "fail") or theirs is zero.
ratio() {
    awk -v o="$1" -v t="$2" 'BEGIN { if (t + 0 > 0 && o ~ /^[0-9.]+$/) printf "%.2f", o / t; else print "-" }'
}

# print_row name ours theirs: one table row with the ratio of the two.
print_row() {
    printf '%-40s %10s %10s %8s\n' "$1" "$2" "$3" "$(ratio "$2" "$3")"
}

# median_of VALUE...: the median of the numbers given (the upper one of the
# middle two for an even count).
median_of() {
    printf '%s\n' "$@" | sort -g | sed -n "$(($# / 2 + 1))p"
}

# require_tools TOOL...: stops the script, naming the first tool missing.
require_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
    done
}

# bench_dir: the build folder with the benchmark programs (QUILLET_BENCH_DIR,
# default build-bench/bench beside the repository root).
bench_dir() {
    root=$(cd "$(dirname "$0")/../.." && pwd)
    echo "${QUILLET_BENCH_DIR:-$root/build-bench/bench}"
}

# best_of3 OUTFILE COMMAND...: runs the command three times with its standard
# output in OUTFILE (standard error discarded) and prints "wall cpu" of the
# fastest run, in seconds. Needs bash (the time keyword).
best_of3() {
    local out="$1"
    shift
    local best_wall="" best_cpu="" line wall user sys cpu
    for _ in 1 2 3; do
        line=$( { TIMEFORMAT='%R %U %S'; time "$@" >"$out" 2>/dev/null; } 2>&1 )
        read -r wall user sys <<<"$line"
        cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.3f", u + s }')
        if [ -z "$best_wall" ] || awk -v a="$wall" -v b="$best_wall" 'BEGIN { exit !(a < b) }'; then
            best_wall=$wall
        fi
        if [ -z "$best_cpu" ] || awk -v a="$cpu" -v b="$best_cpu" 'BEGIN { exit !(a < b) }'; then
            best_cpu=$cpu
        fi
    done
    echo "$best_wall $best_cpu"
}

# timed_run CMD: runs a shell command line (output discarded) and prints
# "wall cpu" in seconds; cpu is the user + system time of it and its children.
# Returns the command's status.
timed_run() {
    local out
    out=$( { TIMEFORMAT='%R %U %S'; time bash -c "$1" >/dev/null 2>&1; } 2>&1; echo "status $?")
    awk '/^status/ { exit $2 } { printf "%.3f %.3f\n", $1, $2 + $3 }' <<<"$out"
}

# median_rounds N CMD...: one warm-up of each shell command line, then N
# rounds that run each once in the given order, so that a change in the
# machine's load falls on all of them alike. Prints one line "wall cpu" per
# command: the median seconds of its N runs. A failing run names the command
# on standard error and returns 1.
median_rounds() {
    local rounds=$1 n i r t
    shift
    n=$#
    local -a cmds=("$@") samples=()
    for ((r = 0; r <= rounds; r++)); do
        for ((i = 0; i < n; i++)); do
            if ! t=$(timed_run "${cmds[i]}"); then
                echo "failed: ${cmds[i]}" >&2
                return 1
            fi
            if [ "$r" -gt 0 ]; then
                samples[i]+="$t"$'\n'
            fi
        done
    done
    local middle=$(((rounds + 1) / 2)) wall cpu
    for ((i = 0; i < n; i++)); do
        wall=$(printf '%s' "${samples[i]}" | cut -d' ' -f1 | sort -g | sed -n "${middle}p")
        cpu=$(printf '%s' "${samples[i]}" | cut -d' ' -f2 | sort -g | sed -n "${middle}p")
        echo "$wall $cpu"
    done
}

# median5 OURS THEIRS: one warm-up of each, then five alternating runs of the
# two shell command lines, whatever their status; prints "ours theirs" as
# median wall seconds.
median5() {
    median_rounds 5 "$1 || true" "$2 || true" | awk '{ w[NR] = $1 } END { print w[1], w[2] }'
}

# ensure_bench BUILD TARGET...: configures BUILD as a Release benchmark build
# and builds the targets when one of their programs is missing.
ensure_bench() {
    eb_build=$1
    shift
    for eb_target in "$@"; do
        if [ ! -x "$eb_build/bench/$eb_target" ]; then
            cmake -S "$root" -B "$eb_build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLET_BUILD_BENCH=ON >/dev/null
            cmake --build "$eb_build" --target "$@" -j2 >/dev/null
            return
        fi
    done
}
