#!/usr/bin/env bash
# After the script has ended, the user steers as a user would: a wheel turn, a left-button drag
# and the pointer resting at the left edge each change the rendered view, and the cursor keys
# turn the selected object (the desert floor). Each change must stand far above the difference
# the particles alone make between two idle frames.
set -u
source "$DUSTRIDERS_SOURCE_DIR/tests/e2e/common.bash"

shot() { import -window "$WINDOW" "$shots/$1.png" 2>/dev/null || fail "no screenshot $1"; }
# Normalised root-mean-square difference of two screenshots, 0 .. 1.
difference() {
    compare -metric RMSE "$shots/$1.png" "$shots/$2.png" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p'
}
expectChanged() {
    local what=$1 d
    d=$(difference "$2" "$3")
    echo "$what: difference $d (idle frames: $baseline)"
    awk -v d="$d" -v b="$baseline" 'BEGIN { exit !(d > 3 * b && d > b + 0.01) }' ||
        fail "$what did not change the view beyond the particles' own flicker"
}

startDemo
shots=$(mktemp -d)
onExit 'rm -rf "$shots"'

# The window shows once the scene has loaded; its first drawn frame has more than one colour.
drawn=""
for _ in $(seq 1 300); do
    assertAlive "before the first frame"
    if import -window "$WINDOW" "$shots/first.png" 2>/dev/null &&
        [ "$(identify -format '%k' "$shots/first.png" 2>/dev/null)" -gt 1 ] 2>/dev/null; then
        drawn=$(date +%s)
        break
    fi
    sleep 0.2
done
[ -n "$drawn" ] || fail "no frame drawn within 60 s of the window showing"
# The script's clock started before loading, so it ends at most 24 s after the first frame;
# leave it two more.
while [ $(($(date +%s) - drawn)) -lt 26 ]; do sleep 0.5; assertAlive "during the script"; done

xdotool mousemove --window "$WINDOW" 320 240
sleep 1
shot idle0
sleep 0.5
shot idle1
sleep 0.5
shot idle2
baseline=$(awk -v a="$(difference idle0 idle1)" -v b="$(difference idle1 idle2)" \
    'BEGIN { print (a > b ? a : b) }')

xdotool click --repeat 5 5
sleep 1
shot wheel
expectChanged "wheel" idle2 wheel

xdotool mousedown 1
for x in 340 370 400 430 460; do
    xdotool mousemove --window "$WINDOW" "$x" 240
    sleep 0.1
done
xdotool mouseup 1
xdotool mousemove --window "$WINDOW" 320 240
sleep 1
shot drag
expectChanged "drag" wheel drag

xdotool mousemove --window "$WINDOW" 3 240
sleep 2
xdotool mousemove --window "$WINDOW" 320 240
sleep 0.5
shot edge
expectChanged "left edge" drag edge

xdotool key --window "$WINDOW" --delay 50 Up Up Up Up Up Up Up Up Up Up Up Up Up Up Up
sleep 1
shot keys
expectChanged "cursor keys" edge keys

assertAlive "after steering"
pressEscape "$WINDOW"
assertExitStatus 0 5
echo "PASS"
