#!/usr/bin/env bash
# The unpacked release under Wine: its window shows the scene (sky at the top, thousands of
# colours) and Escape ends it with status 0. Prints the time from start to the first drawn frame.
set -u
source "$DUSTRIDERS_SOURCE_DIR/tests/windows/e2e/common.bash"

unpackRelease
startDemo
window=$(waitForWindow "$TITLE" 60) || exit 1

# The first drawn frame: the first screenshot that is not one flat colour.
firstFrame=""
shot=$WORK/first.png
for _ in $(seq 1 600); do
    assertAlive "before the first frame"
    if import -window "$window" "$shot" 2>/dev/null && [ "$(colourCount "$shot")" -gt 16 ]; then
        firstFrame=$((($(date +%s%N) - START_NS) / 1000000))
        break
    fi
    sleep 0.1
done
[ -n "$firstFrame" ] || fail "no drawn frame within 60 s"

waitForScene "$window" 60
cp "$SHOT" "$SHOT_DIR/windows-demo.png"
colours=$(colourCount "$SHOT")
pressKey "$window" Escape
assertExitStatus 0 15
echo "PASS (first frame after $firstFrame ms, scene with $colours colours)"
