#!/usr/bin/env bash
# Installs the built program into a temporary root and checks it as a desktop
# application: the files in their freedesktop places, the desktop entry and
# the metainfo valid (where the validators are installed), and the installed
# program opening a file given on its command line.
#   install-test.sh install <build dir>   cmake --install with DESTDIR and prefix /usr
#   install-test.sh deb <build dir>       cpack -G DEB, then the package unpacked
set -euo pipefail
mode=$1
build=$(cd "$2" && pwd)
work=$(mktemp -d /tmp/quillet-install-XXXXXX)
trap 'rm -rf "$work"' EXIT
root="$work/root"
app_id=com.norvane.Quillet
desktop_id=norvane-quillet

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

case "$mode" in
install)
    DESTDIR="$root" cmake --install "$build" --prefix /usr >"$work/install.log" || {
        cat "$work/install.log"
        fail "cmake --install"
    }
    # A second install over the first (an upgrade) must work too.
    DESTDIR="$root" cmake --install "$build" --prefix /usr >"$work/install.log" || fail "repeated cmake --install"
    ;;
deb)
    command -v dpkg-deb >/dev/null || {
        echo "dpkg-deb not installed: skipped"
        exit 0
    }
    (cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >"$work/cpack.log" 2>&1) || {
        cat "$work/cpack.log"
        fail "cpack -G DEB"
    }
    deb=$(ls "$work"/pkg/*.deb)
    depends=$(dpkg-deb -f "$deb" Depends)
    echo "Depends: $depends"
    for needed in libqt6widgets6 libqt6network6 libqt6gui6 libqt6core6 qt6-qpa-plugins libqt6svg6 libc6 libstdc++6; do
        [[ ",$depends," == *[\ ,]"$needed"[\ ,\(]* ]] || fail "package does not depend on $needed"
    done
    [ "$(dpkg-deb -f "$deb" Package)" = quillet ] || fail "package name"
    dpkg-deb -x "$deb" "$root"
    ;;
*)
    fail "unknown mode $mode"
    ;;
esac

usr="$root/usr"
for f in bin/quillet "share/applications/$desktop_id.desktop" "share/metainfo/$app_id.metainfo.xml" \
    "share/icons/hicolor/scalable/apps/$desktop_id.svg"; do
    [ -e "$usr/$f" ] || fail "missing $f"
done
for size in 16 24 32 48 64 128 256; do
    png="$usr/share/icons/hicolor/${size}x${size}/apps/$desktop_id.png"
    [ -f "$png" ] || fail "missing icon $size"
    # The PNG header holds width and height as big-endian words at bytes 16 and 20.
    hex=$(od -An -tx1 -j16 -N8 "$png" | tr -d ' \n')
    [ "$((16#${hex:0:8}))x$((16#${hex:8:8}))" = "${size}x${size}" ] || fail "icon $size is not ${size}x${size} ($hex)"
done
program=$(readlink -f "$usr/bin/quillet")
[ -x "$program" ] || fail "bin/quillet does not lead to the program"
case "$program" in "$root"/*) ;; *) fail "bin/quillet leaves the install root: $program" ;; esac
program_dir=$(dirname "$program")
ls "$program_dir/Syntax Definitions/"*.def >/dev/null 2>&1 || fail "no syntax definitions beside the program"
[ -f "$program_dir/Languages/Deutsch.lng" ] || fail "no language files beside the program"
[ -f "$program_dir/Docs/index.html" ] || fail "no help beside the program"

desktop="$usr/share/applications/$desktop_id.desktop"
grep -qx 'Exec=quillet %F' "$desktop" || fail "Exec line"
grep -qx 'Categories=Development;TextEditor;Utility;' "$desktop" || fail "Categories line"
grep -qx "Icon=$desktop_id" "$desktop" || fail "Icon line"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" | { grep -v ': hint: ' || true; } >"$work/desktop.log"
    [ ! -s "$work/desktop.log" ] || {
        cat "$work/desktop.log"
        fail "desktop-file-validate"
    }
else
    echo "desktop-file-validate not installed: entry not validated"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$usr/share/metainfo/$app_id.metainfo.xml" || fail "appstreamcli validate"
else
    echo "appstreamcli not installed: metainfo not validated"
fi

# The installed program, with a private home, opens a file named on its
# command line; the state log lists the open documents and ends the run.
home="$work/home"
mkdir -p "$home/run"
chmod 700 "$home/run"
doc="$work/hello world.c"
printf 'int main(void) { return 0; }\n' >"$doc"
(
    cd "$work"
    env -u QUILLET_TEST_OPEN_LOG HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
        XDG_RUNTIME_DIR="$home/run" QT_QPA_PLATFORM=offscreen QUILLET_TEST_STATE_LOG="$work/state.log" \
        timeout 60 "$usr/bin/quillet" "$doc" >"$work/run.log" 2>&1
) || {
    cat "$work/run.log"
    fail "the installed program did not end cleanly"
}
grep -q "^document $doc	" "$work/state.log" || {
    cat "$work/state.log" "$work/run.log"
    fail "the installed program did not open $doc"
}
echo "PASS: $mode"
