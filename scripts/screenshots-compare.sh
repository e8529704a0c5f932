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
. "$(dirname "$0")/screenshots-lib.sh"
shots_setup
shots_run 'CompareFormScreenshotDemo.*' QUILLET_COMPARE_DEMO="$out"
ls "$out"/compare-*.png
