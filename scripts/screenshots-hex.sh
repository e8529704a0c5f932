#!/usr/bin/env bash
# Screenshots of a binary document in the real program under Xvfb with a
# window manager: the offset column in each display (hex, decimal, octal,
# none), typed bytes shown as changed, a selection across both fields, a
# marker, and the Find Data and Go to Offset dialogs.
# Usage: scripts/screenshots-hex.sh [build dir] [out dir]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-test}"
out="${2:-$build/screenshots-hex}"
mkdir -p "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cmake --build "$build" --target quillet -j2 >/dev/null
python3 - "$work/sample.bin" <<'PY'
import sys
data = bytes((i * 7 + 3) % 256 for i in range(3000))
open(sys.argv[1], "wb").write(b"QHEX\x00\x01\x02\x03Binary sample\x00\x00" + data)
PY

# One run of the program per offset display; the session script drives it.
cat >"$work/session.sh" <<'SH'
#!/usr/bin/env bash
set -u
work="$1"; out="$2"; display="$3"; program="$4"; full="$5"
export HOME="$work/home-$display" XDG_CONFIG_HOME="$work/home-$display/.config" XDG_RUNTIME_DIR="$work/rt-$display"
mkdir -p "$XDG_CONFIG_HOME/Norvane" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
printf '[HexEditor]\nOffsetDisplay=%s\n' "$display" >"$XDG_CONFIG_HOME/Norvane/Quillet.ini"
openbox >/dev/null 2>&1 &
sleep 1
"$program" "$work/sample.bin" >/dev/null 2>&1 &
sleep 3
window=$(xdotool search --class quillet | head -1)
xdotool windowactivate --sync "$window" 2>/dev/null || true
xdotool windowfocus --sync "$window"
sleep 0.5
names=(hex dec octal none)
name=${names[$display]}
if [ "$full" = 1 ]; then
    # Typed bytes become changed bytes; a marker on row 3; a selection from
    # the hexadecimal field shows in both fields.
    xdotool key --delay 60 4 1 F F
    xdotool key --delay 60 Down Down Down ctrl+shift+3 Up
    xdotool keydown shift
    xdotool key --delay 60 Right Right Right Right Right Right Down
    xdotool keyup shift
    sleep 0.5
    import -window root "$out/binary-$name.png"
    xdotool key ctrl+f
    sleep 1
    import -window root "$out/find-data.png"
    xdotool key Escape
    sleep 0.3
    xdotool key ctrl+g
    sleep 1
    xdotool type 1f0
    import -window root "$out/go-to-offset.png"
    xdotool key Escape
else
    import -window root "$out/binary-$name.png"
fi
SH
chmod +x "$work/session.sh"
for display in 0 1 2 3; do
    full=0
    [ "$display" = 0 ] && full=1
    xvfb-run -a -s "-screen 0 1280x900x24" "$work/session.sh" "$work" "$out" "$display" "$build/quillet" "$full" \
        >/dev/null 2>&1 || true
done
ls "$out"/*.png
