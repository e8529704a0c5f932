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
. "$(dirname "$0")/screenshots-lib.sh"
shots_setup
shots_run 'FindInFilesScreenshotDemo.*' QUILLET_FINDFILES_DEMO="$out"
ls "$out"/*.png
