#!/usr/bin/env bash
# Screenshots of every page of the options dialog and both pages of Customize
# Toolbars under Xvfb with a window manager, at the normal and a large font
# and in a dark palette. Usage: scripts/screenshots-options.sh [build dir] [out dir]
# The windows come from the widget test executable (QUILLET_OPTIONS_DEMO).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-test}"
out="${2:-$build/screenshots-options}"
mkdir -p "$out"
export XDG_RUNTIME_DIR="$(mktemp -d)"
chmod 700 "$XDG_RUNTIME_DIR"
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
cmake --build "$build" --target quillet_ui_tests -j2 >/dev/null
run() {
    local prefix="$1"
    shift
    xvfb-run -a -s "-screen 0 1280x900x24" sh -c '
        openbox >/dev/null 2>&1 &
        sleep 1
        env "$@"
    ' sh QT_QPA_PLATFORM=xcb QUILLET_OPTIONS_DEMO="$out" QUILLET_DEMO_PREFIX="$prefix" "$@" \
        "$build/tests/quillet_ui_tests" --gtest_filter=OptionsScreenshots.* >/dev/null 2>&1
}
run "normal-"
run "large-" QUILLET_DEMO_FONT=14
run "dark-" QUILLET_DEMO_DARK=1
ls "$out"/*.png
