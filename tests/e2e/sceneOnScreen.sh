#!/usr/bin/env bash
# The real demo with everything present: it keeps running, and a screenshot of its window shows
# the scene (not one uniform colour) under the sky's clear colour in the top rows.
set -u
source "$DUSTRIDERS_SOURCE_DIR/tests/e2e/common.bash"

if [ ! -e res/desert.3ds ]; then
    echo "SKIP: generated res/ missing"
    exit 0
fi
shot=$(mktemp --suffix=.png)
DEMO_LOG=$(mktemp)
startDemo
# Loading and a few frames.
sleep 4
assertAlive "after its first frames"
import -window "$WINDOW" "$shot" || fail "no screenshot of the window"
assertAlive "after the screenshot"

spread=$(convert "$shot" -colorspace gray -format "%[fx:standard_deviation]" info:)
awk -v s="$spread" 'BEGIN { exit !(s > 0.03) }' || fail "window is nearly uniform (spread $spread)"

read -r red green blue < <(convert "$shot" -crop "640x6+0+0" +repage \
    -format "%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]" info:)
awk -v r="$red" -v g="$green" -v b="$blue" \
    'BEGIN { exit !((r - 0.53)^2 < 0.003 && (g - 0.81)^2 < 0.003 && (b - 1.0)^2 < 0.003) }' ||
    fail "top rows are ($red, $green, $blue), not the sky's clear colour"
grep -q "failed compilation\|CANNOT use FBO" "$DEMO_LOG" && fail "$(cat "$DEMO_LOG")"

xdotool key --window "$WINDOW" Escape
assertExitStatus 0 10
rm -f "$shot" "$DEMO_LOG"
echo "PASS"
