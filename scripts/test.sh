#!/usr/bin/env bash
# Builds everything with warnings as errors (installing what is missing) and
# runs the whole test suite. Extra arguments go to ctest (for example -R Name).
set -euo pipefail
root="$(cd "$(dirname "$0")/.."  && pwd)"
build="$root/build-test"
"$root/scripts/setup.sh" "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLET_BUILD_TESTS=ON -DQUILLET_WERROR=ON
cmake --build "$build"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/quillet-runtime-XXXXXX)}"
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure -j "$(nproc)" "$@"
