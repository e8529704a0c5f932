#!/usr/bin/env bash
# Screenshots of every page of the options dialog and both pages of Customize
# Toolbars under Xvfb with a window manager, at the normal and a large font
# and in a dark palette. Usage: scripts/screenshots-options.sh [build dir] [out dir]
# The windows come from the widget test executable (QUILLET_OPTIONS_DEMO).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-test}"
out="${2:-$build/screenshots-options}"
. "$(dirname "$0")/screenshots-lib.sh"
shots_setup
run() {
    local prefix="$1"
    shift
    shots_run 'OptionsScreenshots.*' QUILLET_OPTIONS_DEMO="$out" QUILLET_DEMO_PREFIX="$prefix" "$@"
}
run "normal-"
run "large-" QUILLET_DEMO_FONT=14
run "dark-" QUILLET_DEMO_DARK=1
ls "$out"/*.png
