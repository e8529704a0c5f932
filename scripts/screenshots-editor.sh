#!/usr/bin/env bash
# Screenshots of the text document window under Xvfb: a split window with line
# numbers, bookmarks, a breakpoint line, a columnar selection, special symbols,
# word wrap and a folded range. Usage: scripts/screenshots-editor.sh [build dir] [out dir]
# The window comes from the widget test executable (QUILLET_EDITOR_DEMO), so no
# document has to be opened through the main window.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-view}"
out="${2:-$root/build-view/screenshots}"
. "$(dirname "$0")/screenshots-lib.sh"
shots_setup
xvfb-run -a -s "-screen 0 1280x900x24" sh -c '
    QT_QPA_PLATFORM=xcb QUILLET_EDITOR_DEMO=4 "$1/tests/quillet_ui_tests" \
        --gtest_filter=ChildFormScreenshotDemo.* >/dev/null 2>&1 &
    sleep 3
    import -window root "$2/editor-split.png"
    wait
' sh "$build" "$out"
echo "$out/editor-split.png"
