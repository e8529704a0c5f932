#!/usr/bin/env bash
# Screenshots of the compare window ("Differences Viewer") under Xvfb with a
# window manager: two versions of a source file with added, deleted and
# modified blocks, filler rows, the overview strip and the status line, in
# normal and differences-only mode and rotated.
# Usage: scripts/screenshots-compare.sh [build dir] [out dir]
# The window comes from the widget test executable (QUILLET_COMPARE_DEMO).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-test}"
out="${2:-$build/screenshots-compare}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
export XDG_RUNTIME_DIR="$(mktemp -d)"
chmod 700 "$XDG_RUNTIME_DIR"
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
cmake --build "$build" --target quillet_ui_tests -j2 >/dev/null
xvfb-run -a -s "-screen 0 1280x900x24" sh -c '
    if command -v openbox >/dev/null; then openbox & sleep 1; fi
    QT_QPA_PLATFORM=xcb QUILLET_COMPARE_DEMO="$2" "$1/tests/quillet_ui_tests" \
        --gtest_filter=CompareFormScreenshotDemo.* >/dev/null 2>&1
' sh "$build" "$out"
ls "$out"/compare-*.png
