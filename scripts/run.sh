#!/usr/bin/env bash
# Builds Quillet (installing what is missing) and starts it with the given
# file names and switches.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLET_BUILD_TESTS=OFF
cmake --build "$root/build" --target quillet
exec "$root/build/quillet" "$@"
