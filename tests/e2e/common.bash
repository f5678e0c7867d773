# Shared steps of the end-to-end checks; sourced, run from the run directory.
TITLE="Kalvren: Dust Riders Demo"

fail() {
    echo "FAIL: $*" >&2
    [ -n "${DEMO_PID:-}" ] && kill "$DEMO_PID" 2>/dev/null
    exit 1
}

# Starts ./dustriders in the background and waits (up to 30 s) for its window.
startDemo() {
    ./dustriders >"${DEMO_LOG:-/dev/null}" 2>&1 &
    DEMO_PID=$!
    WINDOW=""
    for _ in $(seq 1 300); do
        WINDOW=$(xdotool search --name "^$TITLE\$" 2>/dev/null | head -n 1)
        [ -n "$WINDOW" ] && break
        kill -0 "$DEMO_PID" 2>/dev/null || fail "demo ended before its window appeared"
        sleep 0.1
    done
    [ -n "$WINDOW" ] || fail "no window titled '$TITLE'"
    trap '[ -n "${DEMO_PID:-}" ] && kill $DEMO_PID 2>/dev/null' EXIT
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
