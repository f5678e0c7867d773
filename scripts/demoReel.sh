#!/usr/bin/env bash
# Runs the built demo under its own Xvfb for the whole script plus two seconds, saves a
# screenshot of its window every second of the demo's clock, ends it with Escape, and leaves the
# PNGs and a contact sheet in the folder it names at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
seconds=${REEL_SECONDS:-26}
out=${REEL_DIR:-$root/build/reel}
rm -rf "$out"
mkdir -p "$out"

# shellcheck source=lib/xvfb.sh
source scripts/lib/xvfb.sh
startXvfb

cd build/run
# The script's clock starts while the scene loads, so the reel counts from the launch too.
launched=$(date +%s)
./dustriders >"$out/demo.log" 2>&1 &
demo=$!
shown=0
waitForWindow 'Kalvren: Dust Riders Demo' "$demo" 60 || shown=$?
window=$WINDOW
[ "$shown" -ne 1 ] || { cat "$out/demo.log"; echo "demo ended early" >&2; exit 1; }
[ "$shown" -eq 0 ] || { echo "no demo window" >&2; kill "$demo"; exit 1; }
# The window shows once the scene has loaded. The pointer rests mid-window: no edge zone steers
# the camera, and key events reach the window.
xdotool mousemove --window "$window" 320 240
sleep 0.5 # the first frame is drawn just after the window shows

# One shot per whole second after the launch, named by the second it was taken in; a shot that
# takes longer than a second (a busy machine) costs the seconds it overran, nothing more.
second=$(($(date +%s) - launched))
while [ "$second" -le "$seconds" ]; do
    kill -0 "$demo" 2>/dev/null || { cat "$out/demo.log"; echo "demo ended early" >&2; exit 1; }
    import -window "$window" "$out/$(printf '%02d' "$second")s.png" 2>/dev/null || true
    next=$((second + 1))
    while [ $(($(date +%s) - launched)) -lt "$next" ]; do sleep 0.05; done
    second=$(($(date +%s) - launched))
done
# The window is gone before the key's release can be sent: xdotool's complaint is expected.
xdotool key --window "$window" Escape 2>/dev/null || true
status=0
wait "$demo" || status=$?
[ "$status" -eq 0 ] || echo "demo ended with status $status after Escape" >&2

montage -font DejaVu-Sans -pointsize 14 -label '%t' "$out"/[0-9][0-9]s.png -tile 6x \
    -geometry 320x240+4+4 -background '#202020' -fill '#e0e0e0' "$out/contact-sheet.png"
echo "Demo reel: $out (NNs.png, one a second of the demo's clock; contact-sheet.png)"
