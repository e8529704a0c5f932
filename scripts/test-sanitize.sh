#!/usr/bin/env bash
# Builds the program and its tests with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-sanitize/ (no benchmarks, warnings are
# the normal build's business) and runs the whole suite there. Any finding
# stops the process that met it, so its test fails. Leaks are reported too;
# scripts/lsan.supp lists only leaks inside system libraries. Extra arguments
# go to ctest (for example -R Name).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-sanitize"
"$root/scripts/setup.sh" "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLET_BUILD_TESTS=ON \
    -DQUILLET_BUILD_BENCH=OFF -DQUILLET_SANITIZE=ON -DQUILLET_WERROR=OFF
cmake --build "$build"
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/quillet-runtime-XXXXXX)}"
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure -j "$(nproc)" "$@"
