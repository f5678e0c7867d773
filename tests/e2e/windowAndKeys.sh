#!/usr/bin/env bash
# The real demo under the test display: its window by title, its size, keys that do nothing,
# and Escape ending it with status 0.
set -u
source "$DUSTRIDERS_SOURCE_DIR/tests/e2e/common.bash"

startDemo
assertWindowSize 640 480
xdotool key --window "$WINDOW" space w
sleep 1
assertAlive "after space and w"
pressEscape "$WINDOW"
assertExitStatus 0 5
echo "PASS"
