#!/usr/bin/env bash
# Share of the sky's clear colour in the bottom 15 % of each screenshot in a folder (a demo reel,
# scripts/demoReel.sh, or tools/replay's shots): the sand must fill that part of every view.
# Exits non-zero when any shot shows sky there.
# Usage: scripts/skyUnderSand.sh DIR
set -euo pipefail
dir=${1:?usage: scripts/skyUnderSand.sh DIR}
SKY='rgb(135,207,255)' # the frame's clear colour, SKY_COLOUR in render/frame.h, in 8 bits
status=0
for png in "$dir"/[0-9][0-9]s.png; do
    [ -e "$png" ] || { echo "no NNs.png shots in $dir" >&2; exit 1; }
    size=$(identify -format '%w %h' "$png")
    read -r width height <<<"$size"
    rows=$((height * 15 / 100))
    # Pixels within 1 of the clear colour, counted by ImageMagick: all others go black first, so
    # that white in the shot itself is not counted.
    sky=$(convert "$png" -gravity south -crop "${width}x${rows}+0+0" +repage \
        -fuzz 0.5% -fill black +opaque "$SKY" -fill white -opaque "$SKY" \
        -format '%[fx:mean]' info:)
    share=$(awk -v s="$sky" 'BEGIN { printf "%.2f", 100 * s }')
    echo "$(basename "$png" .png) sky in the bottom 15 %: $share %"
    awk -v s="$sky" 'BEGIN { exit !(s > 0) }' && status=1
done
exit "$status"
