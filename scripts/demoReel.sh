#!/usr/bin/env bash
# Runs the built demo under its own Xvfb for the whole script plus two seconds, saves a
# screenshot of its window every second, ends it with Escape, and leaves the PNGs and a
# contact sheet in the folder it names at the end.
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
./dustriders >"$out/demo.log" 2>&1 &
demo=$!
window=""
for _ in $(seq 1 300); do
    window=$(xdotool search --name '^Kalvren: Dust Riders Demo$' 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    kill -0 "$demo" 2>/dev/null || { cat "$out/demo.log"; echo "demo ended early" >&2; exit 1; }
    sleep 0.1
done
[ -n "$window" ] || { echo "no demo window" >&2; kill "$demo"; exit 1; }

for i in $(seq -w 0 "$seconds"); do
    import -window "$window" "$out/frame-$i.png" 2>/dev/null || true
    sleep 1
done
xdotool key --window "$window" Escape
wait "$demo" || true

montage "$out"/frame-*.png -tile 6x -geometry 320x240+4+4 -background '#202020' \
    "$out/contact-sheet.png"
echo "Demo reel: $out (frame-NN.png, one a second; contact-sheet.png)"
