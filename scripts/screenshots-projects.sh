#!/usr/bin/env bash
# Screenshots of projects and to-do lists under Xvfb with a window manager: the
# project panel's "Project" and "Files" pages beside open documents, and the
# "To-Do List" window with items of several priorities and a done item.
# Usage: scripts/screenshots-projects.sh [build dir] [out dir]
# The windows come from the widget test executable (QUILLET_PROJECTS_DEMO).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-test}"
out="${2:-$build/screenshots-projects}"
mkdir -p "$out"
export XDG_RUNTIME_DIR="$(mktemp -d)"
chmod 700 "$XDG_RUNTIME_DIR"
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
cmake --build "$build" --target quillet_ui_tests -j2 >/dev/null
xvfb-run -a -s "-screen 0 1280x900x24" sh -c '
    openbox >/dev/null 2>&1 &
    sleep 1
    QT_QPA_PLATFORM=xcb QUILLET_PROJECTS_DEMO="$2" "$1/tests/quillet_ui_tests" \
        --gtest_filter=ProjectScreenshotDemo.* >/dev/null 2>&1
' sh "$build" "$out"
ls "$out"/*.png
