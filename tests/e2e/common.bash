# Shared steps of the end-to-end checks; sourced, run from the run directory.
TITLE="Kalvren: Dust Riders Demo"

fail() {
    echo "FAIL: $*" >&2
    [ -n "${DEMO_PID:-}" ] && kill "$DEMO_PID" 2>/dev/null
    exit 1
}

# shellcheck source=../../scripts/lib/xvfb.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/xvfb.sh"

# Starts ./dustriders in the background and waits (up to 30 s) for its window. A start that the
# display refused is made again (at most DISPLAY_TRIES starts); any other early end fails.
startDemo() {
    local log=${DEMO_LOG:-} try
    [ -n "$log" ] || log=$(mktemp)
    trap '[ -n "${DEMO_PID:-}" ] && kill $DEMO_PID 2>/dev/null' EXIT
    for try in $(seq 1 "$DISPLAY_TRIES"); do
        ./dustriders >"$log" 2>&1 &
        DEMO_PID=$!
        WINDOW=""
        for _ in $(seq 1 300); do
            WINDOW=$(xdotool search --name "^$TITLE\$" 2>/dev/null | head -n 1)
            if [ -n "$WINDOW" ]; then
                # The demo writes on into a log nobody asked for; only the refusal needed it.
                [ -n "${DEMO_LOG:-}" ] || rm -f "$log"
                return 0
            fi
            kill -0 "$DEMO_PID" 2>/dev/null || break
            sleep 0.1
        done
        kill -0 "$DEMO_PID" 2>/dev/null && fail "no window titled '$TITLE'"
        wait "$DEMO_PID" 2>/dev/null
        DEMO_PID=""
        displayRefused "$log" || fail "demo ended before its window appeared: $(tail -n 5 "$log")"
        echo "the display refused the demo (start $try of $DISPLAY_TRIES)" >&2
    done
    [ -n "${DEMO_LOG:-}" ] || rm -f "$log"
    fail "the display refused the demo $DISPLAY_TRIES times"
}

# Runs ./dustriders to its end, at most $1 seconds, as a test that expects it to end by itself:
# its standard output in DEMO_OUTPUT, its standard error in DEMO_ERRORS, its exit status in
# DEMO_STATUS (124 when it ran out of time). Started again where the display refused it.
runDemoToEnd() {
    local errors try
    errors=$(mktemp)
    for try in $(seq 1 "$DISPLAY_TRIES"); do
        DEMO_STATUS=0
        DEMO_OUTPUT=$(timeout "$1" ./dustriders 2>"$errors") || DEMO_STATUS=$?
        DEMO_ERRORS=$(cat "$errors")
        displayRefused "$errors" || { rm -f "$errors"; return 0; }
        echo "the display refused the demo (start $try of $DISPLAY_TRIES)" >&2
    done
    rm -f "$errors"
    fail "the display refused the demo $DISPLAY_TRIES times"
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
