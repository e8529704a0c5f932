#!/usr/bin/env bash
# Screenshots of the main window under Xvfb: all toolbars, each menu opened
# with the status bar showing the hint of the entry under the pointer, a
# toolbar button's hint, the document tabs at the bottom and at the top with
# their pop-up menu; then checks the X11 hot key. Usage: scripts/screenshots-main.sh [build dir] [out dir]
# The window comes from the widget test executable (QUILLET_MENUS_DEMO).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-cmd}"
out="${2:-$build/screenshots-main}"
. "$(dirname "$0")/screenshots-lib.sh"
shots_setup
xvfb-run -a -s "-screen 0 1280x900x24" env QT_QPA_PLATFORM=xcb QUILLET_MENUS_DEMO="$out" \
    "$build/tests/quillet_ui_tests" --gtest_filter=MainMenusScreenshotDemo.* >/dev/null 2>&1
# The same X server checks the system-wide hot key: a key sent through the
# server must reach the program.
xvfb-run -a -s "-screen 0 1280x900x24" env QT_QPA_PLATFORM=xcb \
    "$build/tests/quillet_ui_tests" --gtest_filter=X11GlobalHotKeyLive.* --gtest_brief=1 2>/dev/null | tail -1
ls "$out"/*.png
