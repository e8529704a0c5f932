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
. "$(dirname "$0")/screenshots-lib.sh"
shots_setup
shots_run 'ProjectScreenshotDemo.*' QUILLET_PROJECTS_DEMO="$out"
ls "$out"/*.png
