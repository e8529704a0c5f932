#!/usr/bin/env bash
# Screenshots of C++, HTML and Python samples coloured by the shipped syntax
# definitions, in the "Default" and "Twilight" colour presets, taken under Xvfb
# by the widget test executable (QUILLET_SYNTAX_SHOTS), so no document has to
# be opened through the main window.
# Usage: scripts/screenshots-syntax.sh [build dir] [out dir] [sample ...]
#   samples are file names under tests/data/syntax/samples ("sample.rs");
#   without them: sample.cpp sample.html sample.py
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-styles}"
out="${2:-$build/screenshots}"
shift $(($# < 2 ? $# : 2))
if [ $# -gt 0 ]; then
    export QUILLET_SYNTAX_SAMPLES="$*"
fi
. "$(dirname "$0")/screenshots-lib.sh"
shots_setup
QUILLET_SYNTAX_SHOTS="$out" QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x900x24" \
    "$build/tests/quillet_ui_tests" --gtest_filter='SyntaxScreenshots.*' >/dev/null
ls "$out"/syntax-*.png
