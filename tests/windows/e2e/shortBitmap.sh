#!/usr/bin/env bash
# The unpacked release with two damaged bitmaps. res/desert.bmp ends halfway through its pixels: it
# loads with the missing pixels black, one console line names it and no box stops the start.
# res/wood.bmp ends inside its headers and cannot be used at all: like a missing one it gets a box,
# titled "Orbitex", that names it. After Return the demo runs on and shows the scene.
set -u
source "$DUSTRIDERS_SOURCE_DIR/tests/windows/e2e/common.bash"

unpackRelease
truncate -s $(($(stat -c %s res/desert.bmp) / 2)) res/desert.bmp
truncate -s 20 res/wood.bmp
startDemo
# The desert is the first row of the scene list, the wood the fourth: a box for the short bitmap
# would come first.
box=$(waitForWindow "Orbitex" 60) || exit 1
text=$(timeout 30 wine "$BOX_TEXT_EXE" "Orbitex" 2>/dev/null | tr -d '\r')
grep -qF "res/wood.bmp" <<<"$text" || fail "the first box is not the unusable bitmap's (got: $text)"
closeBox "$box" "Orbitex"

window=$(waitForWindow "$TITLE" 30) || exit 1
waitForScene "$window" 60
xdotool search --name "^Orbitex\$" >/dev/null 2>&1 && fail "another box opened during start-up"
console=$(tr -d '\r' <"$DEMO_LOG")
grep -qF "Orbitex: file ends before its pixel data does, missing pixels are black (res/desert.bmp)" \
    <<<"$console" || fail "no console line for the short res/desert.bmp (console: $console)"
pressKey "$window" Escape
assertExitStatus 0 15
echo "PASS ($(head -n 2 <<<"$text" | tr '\n' ' '))"
