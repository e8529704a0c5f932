#!/usr/bin/env bash
# Screenshots of find in files under Xvfb with a window manager: the "Find in
# Files" dialog over the main window (directory search and open files), the
# result window holding matches from several files with its context menu, and
# the same in a dark palette. Usage: scripts/screenshots-findfiles.sh [build dir] [out dir]
# The windows come from the widget test executable (QUILLET_FINDFILES_DEMO).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-test}"
out="${2:-$build/screenshots-findfiles}"
mkdir -p "$out"
export XDG_RUNTIME_DIR="$(mktemp -d)"
chmod 700 "$XDG_RUNTIME_DIR"
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
command -v openbox >/dev/null || { echo "install openbox for the window frames" >&2; exit 1; }
cmake --build "$build" --target quillet_ui_tests -j2 >/dev/null
xvfb-run -a -s "-screen 0 1280x900x24" sh -c '
    openbox >/dev/null 2>&1 &
    sleep 1
    QT_QPA_PLATFORM=xcb QUILLET_FINDFILES_DEMO="$2" "$1/tests/quillet_ui_tests" \
        --gtest_filter=FindInFilesScreenshotDemo.* >/dev/null 2>&1
' sh "$build" "$out"
ls "$out"/*.png
