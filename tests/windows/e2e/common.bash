# Shared steps of the Windows end-to-end checks; sourced. Each check unpacks the release zip into a
# fresh folder and runs dustriders.exe there under Wine, in the private prefix that
# tests/windows/run.sh sets up (WINEPREFIX, WINEDEBUG), on the display the test command provides.
# The Linux checks' title, fail, assertAlive, assertExitStatus and topRowsAreSky serve here too;
# startDemo is the Windows one below.
source "$DUSTRIDERS_SOURCE_DIR/tests/e2e/common.bash"
ZIP="$DUSTRIDERS_SOURCE_DIR/dist/dustriders-windows-x64.zip"
SHOT_DIR="${WINDOWS_SHOT_DIR:-$(mktemp -d)}"
DEMO_PID=""
WORK=""

# Ends whatever this check started: the demo, then every process of the private prefix. Run by
# the Linux checks' exit steps, which then stop this check's display: a trap of its own would
# replace theirs and leave the display running.
cleanUp() {
    [ -n "$DEMO_PID" ] && kill "$DEMO_PID" 2>/dev/null
    wineserver -k 2>/dev/null
    [ -n "$WORK" ] && rm -rf "$WORK"
    return 0
}
onExit cleanUp

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

# Wine takes keys only from the focused window; there is no window manager to give focus.
pressKey() {
    xdotool windowfocus "$1" 2>/dev/null
    xdotool key --window "$1" "$2"
}

# Presses Return on box window $1 titled $2 and waits up to 10 s for every box of that title to close.
closeBox() {
    pressKey "$1" Return
    for _ in $(seq 1 100); do
        xdotool search --name "^$2\$" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "a box titled '$2' is still open 10 s after Return"
}
