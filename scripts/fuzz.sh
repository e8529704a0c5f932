#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each one for
# a bounded time from its seed corpus in tests/data/fuzz/<target>/.
#   scripts/fuzz.sh [target...]      (default: every target)
# QUILLET_FUZZ_SECONDS sets the time per target (default 20). The mutations
# follow a fixed seed, so a run repeats the inputs of an earlier one and a
# shorter run tries a subset of them; QUILLET_FUZZ_SEED=0 picks a new seed each
# time, for exploring beyond what CI repeats. New inputs go to
# a scratch corpus under /tmp; an input that breaks a target is kept in
# build-fuzz/findings/<target>/ and the script fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz"
seconds=${QUILLET_FUZZ_SECONDS:-20}
seed=${QUILLET_FUZZ_SEED:-1}

QUILLET_EXTRA_PACKAGES="clang libclang-rt-14-dev" "$root/scripts/setup.sh" "$build" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DQUILLET_BUILD_FUZZ=ON -DQUILLET_BUILD_TESTS=OFF -DQUILLET_WERROR=OFF
cmake --build "$build" --target quillet_fuzz

targets=("$@")
if ((${#targets[@]} == 0)); then
    for dir in "$root"/tests/data/fuzz/*/; do
        targets+=("$(basename "$dir")")
    done
fi

# Targets whose parsers read files write one per run: a memory file system
# keeps that quick.
scratch_base=/tmp
[ -d /dev/shm ] && [ -w /dev/shm ] && scratch_base=/dev/shm
scratch=$(mktemp -d "$scratch_base/quillet-fuzz-run-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export TMPDIR="$scratch"
failed=()
for target in "${targets[@]}"; do
    program="$build/fuzz/fuzz_$target"
    seeds="$root/tests/data/fuzz/$target"
    [ -x "$program" ] || { echo "no fuzz target $target" >&2; exit 1; }
    corpus="$scratch/corpus-$target"
    findings="$build/findings/$target"
    mkdir -p "$corpus" "$findings"
    echo "== $target (${seconds}s)"
    if ! "$program" "$corpus" "$seeds" -max_total_time="$seconds" -seed="$seed" -timeout=10 -rss_limit_mb=2048 \
        -max_len=8192 -print_final_stats=0 -artifact_prefix="$findings/" >"$scratch/$target.log" 2>&1; then
        tail -40 "$scratch/$target.log"
        failed+=("$target")
    else
        grep -E "^#[0-9]+.*DONE|Done [0-9]+ runs" "$scratch/$target.log" | tail -1 || true
    fi
done
if ((${#failed[@]})); then
    echo "Fuzz findings in: ${failed[*]} (inputs in $build/findings/)" >&2
    exit 1
fi
echo "Every fuzz target ran ${seconds}s without a finding."
