#!/usr/bin/env bash
# The real demo with everything present: it keeps running through its script, and screenshots
# of its window show the scene: once the script's camera looks above the horizon, the top rows
# hold the sky's clear colour and the rest is not one uniform colour.
set -u
source "$DUSTRIDERS_SOURCE_DIR/tests/e2e/common.bash"

[ -e res/desert.3ds ] || fail "generated res/ missing in $(pwd)"
shot=$(mktemp --suffix=.png)
DEMO_LOG=$(mktemp)

# Standard deviation of the grey levels, 0..1.
spreadOf() { convert "$1" -colorspace gray -format "%[fx:standard_deviation]" info:; }

startDemo
sawSky=0
for second in $(seq 1 40); do
    sleep 1
    assertAlive "after $second s"
    import -window "$WINDOW" "$shot" || fail "no screenshot of the window"
    if topRowsAreSky "$shot"; then
        sawSky=1
        break
    fi
done
[ "$sawSky" -eq 1 ] || fail "no screenshot with the sky in its top rows"
spread=$(spreadOf "$shot")
awk -v s="$spread" 'BEGIN { exit !(s > 0.05) }' || fail "window nearly uniform (spread $spread)"
if grep -q "failed compilation\|CANNOT use FBO" "$DEMO_LOG"; then
    fail "$(cat "$DEMO_LOG")"
fi

pressEscape "$WINDOW"
assertExitStatus 0 10
rm -f "$shot" "$DEMO_LOG"
echo "PASS (sky after $second s)"
