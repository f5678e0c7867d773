#!/usr/bin/env bash
# The shared steps start the demo again when, and only when, the display refused it. In a copy of
# the run directory a stand-in ./dustriders sends its first starts to a display that no server
# holds, where freeglut ends the real demo with its own "failed to open display", and counts those
# refusals apart from the starts on the real display: the next start gets the window (startDemo)
# or the run to the end (runDemoToEnd). A demo that ends for any other reason is not started
# again, and the starts are bounded. The real display may still refuse a start now and then; that
# start is reported, made again, and counted as the real display's, not as the stand-in's.
set -u
source "$DUSTRIDERS_SOURCE_DIR/tests/e2e/common.bash"

work=$(mktemp -d)
onExit 'rm -rf "$work"'
cp -r "$DUSTRIDERS_RUN_DIR/." "$work/"
cd "$work" || fail "no copy of the run directory"
mv dustriders dustriders.real
# REFUSALS: how many starts the display refuses; OTHER_END: end at once with status 3 instead.
cat >dustriders <<'SCRIPT'
#!/usr/bin/env bash
[ -n "${OTHER_END:-}" ] && { echo end >>ends.txt; echo "something else went wrong" >&2; exit 3; }
if [ "$(cat refused.txt 2>/dev/null | wc -l)" -lt "${REFUSALS:-0}" ]; then
    echo refused >>refused.txt
    DISPLAY=:65000 exec ./dustriders.real "$@"
fi
echo start >>starts.txt
exec ./dustriders.real "$@"
SCRIPT
chmod +x dustriders
count() { cat "$1" 2>/dev/null | wc -l; }
fresh() { rm -f refused.txt starts.txt ends.txt restarts.log; }
# $1 refusals by the stand-in, then starts on the real display until one of them was not refused:
# each start after the first on the real display follows a reported refusal of the real display.
expectRefusedThenStarted() {
    [ "$(count refused.txt)" -eq "$1" ] ||
        fail "the stand-in refused $(count refused.txt) starts, expected $1"
    [ "$(count starts.txt)" -ge 1 ] || fail "no start on the real display after $1 refusals"
    local reported
    cat restarts.log >&2
    reported=$(grep -c "refused the demo (start" restarts.log)
    [ "$reported" -eq $(($1 + $(count starts.txt) - 1)) ] ||
        fail "$reported restarts reported for $1 refusals and $(count starts.txt) real starts"
}

# Refused once: the next start shows the window and runs as ever.
fresh
export REFUSALS=1
startDemo 2>restarts.log
expectRefusedThenStarted 1
grep -q "refused the demo (start 1 of" restarts.log || fail "the restart was not reported"
sleep 1
assertAlive "after the second start"
pressEscape "$WINDOW"
assertExitStatus 0 10

# Refused twice while run to its end: the last start's own output and status count.
fresh
export REFUSALS=2
rm VertexShader.c
runDemoToEnd 60 2>restarts.log
expectRefusedThenStarted 2
[ "$DEMO_STATUS" -ne 0 ] && [ "$DEMO_STATUS" -ne 124 ] || fail "status $DEMO_STATUS"
grep -qF "Sorry, can't open file: 'VertexShader.c'." <<<"$DEMO_OUTPUT" ||
    fail "the last start's output is not the one kept (got: $DEMO_OUTPUT)"
cp "$DUSTRIDERS_RUN_DIR/VertexShader.c" .

# Refused every time: the starts stop at DISPLAY_TRIES, and both steps fail.
fresh
export REFUSALS=1000 DISPLAY_TRIES=3
(startDemo) 2>/dev/null && fail "startDemo passed although every start was refused"
[ "$(count refused.txt)" -eq 3 ] ||
    fail "$(count refused.txt) starts with every one refused, expected 3"
fresh
(runDemoToEnd 60) 2>/dev/null && fail "runDemoToEnd passed although every start was refused"
[ "$(count refused.txt)" -eq 3 ] ||
    fail "$(count refused.txt) runs with every one refused, expected 3"

# Any other early end is the demo's own failure: no second start.
fresh
export REFUSALS=0 DISPLAY_TRIES=5 OTHER_END=1
(startDemo) 2>/dev/null && fail "startDemo passed although the demo ended at once"
[ "$(count ends.txt)" -eq 1 ] ||
    fail "$(count ends.txt) starts for a demo that ended by itself, expected 1"
fresh
runDemoToEnd 60 2>/dev/null
[ "$(count ends.txt)" -eq 1 ] ||
    fail "$(count ends.txt) runs for a demo that ended by itself, expected 1"
[ "$DEMO_STATUS" -eq 3 ] || fail "status $DEMO_STATUS of the one run, expected 3"
echo "PASS"
