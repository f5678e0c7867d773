#!/usr/bin/env bash
# Writes the README images from an existing build (run scripts/test.sh --quick or cmake first),
# all from the fixed-rate replay and the frame benchmark, so they change only when the code does:
#   docs/preview.webp       the show at 25 frames a second, every other frame at 320 x 240
#   docs/reel-25fps.png     contact sheets: one shot per script second at 25 and at 60 frames a
#   docs/reel-60fps.png     second
#   docs/opening-view.png   the 25 fps replay at 2 s, inside the first phase
#   docs/shadowed-scene.png figures, rake, cactus and house with their shadows, seen from above
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${BUILD_DIR:-$root/build}
[ -x "$build/tools/replay" ] || { echo "no replay in $build/tools; build first" >&2; exit 1; }
[ -x "$build/bench/frameBench" ] || { echo "no frameBench in $build/bench; build first" >&2; exit 1; }
mkdir -p docs

# shellcheck source=lib/xvfb.sh
source scripts/lib/xvfb.sh
startXvfb
work=$(mktemp -d)
trap 'rm -rf "$work"; stopXvfb' EXIT

replay() { (cd "$build/run" && ../tools/replay "$@" >/dev/null); }

for fps in 25 60; do
    replay --fps "$fps" --size 640x480 --out "$work/$fps"
    montage -font DejaVu-Sans -pointsize 13 -label '%t' "$work/$fps"/[0-9][0-9]s.png -tile 7x \
        -geometry 200x150+3+3 -background '#202020' -fill '#e0e0e0' "$work/sheet.png"
    # The sheet's few hundred colours fit a palette: a third of the size, no visible change.
    convert "$work/sheet.png" -colors 256 "PNG8:docs/reel-${fps}fps.png"
done
cp "$work/25/02s.png" docs/opening-view.png

# Every other frame of the 25 fps show keeps the motion readable at half the size; lossy WebP
# keeps the sand's grain in a few hundred KB, where a GIF's palette takes megabytes.
replay --fps 25 --size 320x240 --every-frame --out "$work/frames"
# shellcheck disable=SC2046 # one argument per frame file; the names hold no spaces
convert -delay 8 -loop 0 $(ls "$work"/frames/frame-*.png | awk 'NR % 2 == 1') -quality 60 \
    docs/preview.webp

mkdir -p "$work/bench"
"$build/bench/frameBench" --screenshots "$work/bench" >/dev/null
cp "$work/bench/shadowed-scene.png" docs/shadowed-scene.png
for image in preview.webp reel-25fps.png reel-60fps.png opening-view.png shadowed-scene.png; do
    echo "wrote docs/$image ($(stat -c %s "docs/$image") bytes)"
done
