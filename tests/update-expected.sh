#!/bin/sh
# Copies reviewed golden outputs over the expected files. A failing golden test
# leaves <case>.actual files under <build>/syntax-golden/<language>/; look at
# them first, then run: tests/update-expected.sh [build folder]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-"$here/../build"}
actual_root="$build/syntax-golden"
if [ ! -d "$actual_root" ]; then
    echo "no $actual_root: nothing to update" >&2
    exit 0
fi
find "$actual_root" -type f -name '*.actual' | while IFS= read -r actual; do
    relative=${actual#"$actual_root"/}
    target="$here/data/syntax/${relative%.actual}.expected"
    if [ ! -d "$(dirname "$target")" ]; then
        echo "skipped $actual: no folder for it under tests/data/syntax" >&2
        continue
    fi
    cp -- "$actual" "$target"
    rm -- "$actual"
    echo "updated $target"
done
