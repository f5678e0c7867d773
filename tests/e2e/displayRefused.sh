#!/usr/bin/env bash
# The shared steps start the demo again when, and only when, the display refused it. In a copy of
# the run directory a stand-in ./dustriders counts its starts and sends the first ones to a display
# that no server holds, where freeglut ends the real demo with its own "failed to open display":
# the next start gets the window (startDemo) or the run to the end (runDemoToEnd). A demo that
# ends for any other reason is not started again, and the starts are bounded.
set -u
source "$DUSTRIDERS_SOURCE_DIR/tests/e2e/common.bash"

work=$(mktemp -d)
cleanUp() {
    [ -n "${DEMO_PID:-}" ] && kill "$DEMO_PID" 2>/dev/null
    rm -rf "$work"
}
trap cleanUp EXIT
cp -r "$DUSTRIDERS_RUN_DIR/." "$work/"
cd "$work" || fail "no copy of the run directory"
mv dustriders dustriders.real
# REFUSALS: how many starts the display refuses; OTHER_END: end at once with status 3 instead.
cat >dustriders <<'SCRIPT'
#!/usr/bin/env bash
echo start >>starts.txt
[ -n "${OTHER_END:-}" ] && { echo "something else went wrong" >&2; exit 3; }
if [ "$(wc -l <starts.txt)" -le "${REFUSALS:-0}" ]; then
    DISPLAY=:65000 exec ./dustriders.real "$@"
fi
exec ./dustriders.real "$@"
SCRIPT
chmod +x dustriders
starts() { wc -l <starts.txt 2>/dev/null || echo 0; }

# Refused once: the second start shows the window and runs as ever.
rm -f starts.txt
export REFUSALS=1
startDemo 2>"$work/restarts.log"
trap cleanUp EXIT
[ "$(starts)" -eq 2 ] || fail "$(starts) starts for one refusal, expected 2"
grep -q "refused the demo (start 1 of" "$work/restarts.log" || fail "the restart was not reported"
sleep 1
assertAlive "after the second start"
xdotool key --window "$WINDOW" Escape
assertExitStatus 0 10

# Refused twice while run to its end: the third start's own output and status count.
rm -f starts.txt
export REFUSALS=2
rm VertexShader.c
runDemoToEnd 60 2>/dev/null
[ "$(starts)" -eq 3 ] || fail "$(starts) starts for two refusals, expected 3"
[ "$DEMO_STATUS" -ne 0 ] && [ "$DEMO_STATUS" -ne 124 ] || fail "status $DEMO_STATUS"
grep -qF "Sorry, can't open file: 'VertexShader.c'." <<<"$DEMO_OUTPUT" ||
    fail "the third start's output is not the one kept (got: $DEMO_OUTPUT)"
cp "$DUSTRIDERS_RUN_DIR/VertexShader.c" .

# Refused every time: the starts stop at DISPLAY_TRIES, and both steps fail.
rm -f starts.txt
export REFUSALS=1000 DISPLAY_TRIES=3
(startDemo) 2>/dev/null && fail "startDemo passed although every start was refused"
[ "$(starts)" -eq 3 ] || fail "$(starts) starts with every one refused, expected 3"
rm -f starts.txt
(runDemoToEnd 60) 2>/dev/null && fail "runDemoToEnd passed although every start was refused"
[ "$(starts)" -eq 3 ] || fail "$(starts) runs with every one refused, expected 3"

# Any other early end is the demo's own failure: no second start.
rm -f starts.txt
export REFUSALS=0 DISPLAY_TRIES=5 OTHER_END=1
(startDemo) 2>/dev/null && fail "startDemo passed although the demo ended at once"
[ "$(starts)" -eq 1 ] || fail "$(starts) starts for a demo that ended by itself, expected 1"
rm -f starts.txt
runDemoToEnd 60 2>/dev/null
[ "$(starts)" -eq 1 ] || fail "$(starts) runs for a demo that ended by itself, expected 1"
[ "$DEMO_STATUS" -eq 3 ] || fail "status $DEMO_STATUS of the one run, expected 3"
echo "PASS"
