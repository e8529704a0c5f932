# Set-up shared by the screenshot scripts. Source it after setting $build
# and $out:
#   . "$(dirname "$0")/screenshots-lib.sh"
#   shots_setup
#   shots_run 'CompareFormScreenshotDemo.*' QUILLET_COMPARE_DEMO="$out"

# shots_setup [TARGET]: creates $out and makes it absolute, gives the run a
# private XDG_RUNTIME_DIR (removed on exit) and builds TARGET (default the
# widget test executable).
shots_setup() {
    mkdir -p "$out"
    out="$(cd "$out" && pwd)"
    XDG_RUNTIME_DIR="$(mktemp -d)"
    export XDG_RUNTIME_DIR
    chmod 700 "$XDG_RUNTIME_DIR"
    trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
    cmake --build "$build" --target "${1:-quillet_ui_tests}" -j2 >/dev/null
}

# shots_run FILTER [NAME=VALUE ...]: runs the widget tests FILTER selects on
# a 1280x900 Xvfb screen with openbox drawing the window frames, on the xcb
# platform with the variables given. Fails when openbox is missing
# (scripts/setup.sh installs it).
shots_run() {
    local filter="$1"
    shift
    command -v openbox >/dev/null || { echo "install openbox for the window frames (scripts/setup.sh)" >&2; return 1; }
    xvfb-run -a -s "-screen 0 1280x900x24" sh -c '
        openbox >/dev/null 2>&1 &
        sleep 1
        exec env "$@"
    ' sh QT_QPA_PLATFORM=xcb "$@" "$build/tests/quillet_ui_tests" --gtest_filter="$filter" >/dev/null 2>&1
}
