# Shared steps of the Windows end-to-end checks; sourced. Each check unpacks the release zip into a
# fresh folder and runs dustriders.exe there under Wine, in the private prefix that
# tests/windows/run.sh sets up (WINEPREFIX, WINEDEBUG), on the display the test command provides.
TITLE="Kalvren: Dust Riders Demo"
ZIP="$DUSTRIDERS_SOURCE_DIR/dist/dustriders-windows-x64.zip"
SHOT_DIR="${WINDOWS_SHOT_DIR:-$(mktemp -d)}"
DEMO_PID=""
WORK=""

# Ends whatever this check started: the demo, then every process of the private prefix.
cleanUp() {
    [ -n "$DEMO_PID" ] && kill "$DEMO_PID" 2>/dev/null
    wineserver -k 2>/dev/null
    [ -n "$WORK" ] && rm -rf "$WORK"
    return 0
}
trap cleanUp EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

[ -n "${WINEPREFIX:-}" ] || fail "WINEPREFIX not set: run tests/windows/run.sh"
[ -n "${DISPLAY:-}" ] || fail "no DISPLAY"

# Unpacks the zip into a fresh folder and enters the release folder.
unpackRelease() {
    WORK=$(mktemp -d)
    unzip -q "$ZIP" -d "$WORK" || fail "cannot unpack $ZIP"
    cd "$WORK/dustriders-windows-x64" || fail "no dustriders-windows-x64/ in the zip"
}

# Starts dustriders.exe in the background, its console output in $DEMO_LOG.
startDemo() {
    DEMO_LOG=$WORK/console.log
    START_NS=$(date +%s%N)
    wine dustriders.exe >"$DEMO_LOG" 2>&1 &
    DEMO_PID=$!
}

# Prints the id of the window titled exactly $1, waiting up to $2 seconds; fails if the demo
# ends first or no such window appears.
waitForWindow() {
    local id=""
    for _ in $(seq 1 $(($2 * 10))); do
        id=$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1)
        [ -n "$id" ] && break
        kill -0 "$DEMO_PID" 2>/dev/null || fail "demo ended before a window titled '$1' appeared"
        sleep 0.1
    done
    [ -n "$id" ] || fail "no window titled '$1' within $2 s"
    echo "$id"
}

assertAlive() {
    kill -0 "$DEMO_PID" 2>/dev/null || fail "demo is not running ($1)"
}

# True when the top six rows of the screenshot average the clear colour (0.53, 0.81, 1.0).
topRowsAreSky() {
    local red green blue
    read -r red green blue < <(convert "$1" -crop "640x6+0+0" +repage \
        -format "%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]" info:)
    awk -v r="$red" -v g="$green" -v b="$blue" \
        'BEGIN { exit !((r - 0.53)^2 < 0.002 && (g - 0.81)^2 < 0.002 && (b - 1.0)^2 < 0.002) }'
}

colourCount() { convert "$1" -format "%k" info:; }

# Takes screenshots of window $1 until one shows the scene (sky in the top rows and at least 1000
# colours), up to $2 seconds; leaves it in $SHOT.
waitForScene() {
    SHOT=$WORK/scene.png
    local deadline=$(($(date +%s) + $2))
    while [ "$(date +%s)" -lt "$deadline" ]; do
        assertAlive "while waiting for the scene"
        if import -window "$1" "$SHOT" 2>/dev/null && topRowsAreSky "$SHOT" &&
            [ "$(colourCount "$SHOT")" -ge 1000 ]; then
            return 0
        fi
        sleep 0.5
    done
    fail "no screenshot with the sky at the top and 1000 colours within $2 s"
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

# Wine takes keys only from the focused window; there is no window manager to give focus.
pressKey() {
    xdotool windowfocus "$1" 2>/dev/null
    xdotool key --window "$1" "$2"
}
