# Shared steps of the end-to-end checks; sourced, run from the run directory.
TITLE="Kalvren: Dust Riders Demo"

fail() {
    echo "FAIL: $*" >&2
    [ -n "${DEMO_PID:-}" ] && kill "$DEMO_PID" 2>/dev/null
    exit 1
}

# shellcheck source=../../scripts/lib/xvfb.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/xvfb.sh"

# Each check on a display of its own: no check inherits another's clients or windows. What is
# left on it at the end, and what Xvfb said, goes into the check's log.
EXIT_STEPS=()
onExit() { EXIT_STEPS+=("$1"); }
endCheck() {
    set +e
    local step
    for step in "${EXIT_STEPS[@]}"; do eval "$step"; done
    [ -n "${DEMO_PID:-}" ] && kill "$DEMO_PID" 2>/dev/null
    [ -n "${XVFB_PID:-}" ] && echo "at the end, $(displayClients)" >&2
    stopXvfb
}
startXvfb || exit 1
trap endCheck EXIT
echo "at the start, $(displayClients)" >&2

# Starts ./dustriders in the background and waits (up to 30 s) for its window. A start that the
# display refused is made again (startWhileRefused); any other early end fails.
startDemo() {
    local log=${DEMO_LOG:-} status=0
    [ -n "$log" ] || log=$(mktemp)
    startWhileRefused "$log" showWindow "$log" || status=$?
    [ -n "${DEMO_LOG:-}" ] || rm -f "$log"
    case $status in
    0) ;;
    1) fail "demo ended before its window appeared: $DEMO_ENDED" ;;
    *) fail "the display refused the demo $DISPLAY_TRIES times" ;;
    esac
}

# One start for startDemo: true once the window shows.
showWindow() {
    local shown=0
    ./dustriders >"$1" 2>&1 &
    DEMO_PID=$!
    waitForWindow "$TITLE" "$DEMO_PID" 30 || shown=$?
    [ "$shown" -eq 0 ] && return 0
    [ "$shown" -eq 2 ] && fail "no window titled '$TITLE'"
    wait "$DEMO_PID" 2>/dev/null
    DEMO_PID=""
    DEMO_ENDED=$(tail -n 5 "$1")
    return 1
}

# Runs ./dustriders to its end, at most $1 seconds, as a test that expects it to end by itself:
# its standard output in DEMO_OUTPUT, its standard error in DEMO_ERRORS, its exit status in
# DEMO_STATUS (124 when it ran out of time). Started again where the display refused it.
runDemoToEnd() {
    local errors status=0
    errors=$(mktemp)
    startWhileRefused "$errors" runOnce "$1" "$errors" || status=$?
    rm -f "$errors"
    [ "$status" -ne 2 ] || fail "the display refused the demo $DISPLAY_TRIES times"
}

# One run for runDemoToEnd: false only where the display refused it.
runOnce() {
    DEMO_STATUS=0
    DEMO_OUTPUT=$(timeout "$1" ./dustriders 2>"$2") || DEMO_STATUS=$?
    DEMO_ERRORS=$(cat "$2")
    ! displayRefused "$2"
}

# Escape to window $1: the press alone. The demo ends on the press, and on a fast machine its
# window is gone before a release could follow (xdotool's "key" then fails with BadWindow).
pressEscape() {
    xdotool keydown --window "$1" Escape
}

assertAlive() {
    kill -0 "$DEMO_PID" 2>/dev/null || fail "demo is not running ($1)"
}

assertWindowSize() {
    local geometry
    geometry=$(xdotool getwindowgeometry "$WINDOW" | awk '/Geometry/ {print $2}')
    [ "$geometry" = "$1x$2" ] || fail "window is $geometry, expected $1x$2"
}

# Waits up to $2 seconds for the demo to end and checks its exit status is $1.
assertExitStatus() {
    local waited=0
    while kill -0 "$DEMO_PID" 2>/dev/null; do
        [ "$waited" -ge $(($2 * 10)) ] && fail "demo still running after $2 s"
        sleep 0.1
        waited=$((waited + 1))
    done
    local status=0
    wait "$DEMO_PID" || status=$?
    DEMO_PID=""
    [ "$status" -eq "$1" ] || fail "exit status $status, expected $1"
}

# True when the top six rows of the screenshot average the clear colour (0.53, 0.81, 1.0).
topRowsAreSky() {
    local red green blue
    read -r red green blue < <(convert "$1" -crop "640x6+0+0" +repage \
        -format "%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]" info:)
    awk -v r="$red" -v g="$green" -v b="$blue" \
        'BEGIN { exit !((r - 0.53)^2 < 0.002 && (g - 0.81)^2 < 0.002 && (b - 1.0)^2 < 0.002) }'
}
