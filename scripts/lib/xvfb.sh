# The display helpers, sourced by the scripts and the end-to-end checks:
#   startXvfb          a private Xvfb for this shell, DISPLAY exported; stopped when the shell exits
#   stopXvfb           stops it and prints what Xvfb itself wrote (for traps that replace startXvfb's)
#   displayClients     the clients on DISPLAY now, one line, for a test log
#   startWhileRefused  starts a program again while, and only while, the display refused it
#   waitForWindow      waits for a program's titled window to show
#
# Xvfb picks a free display number itself (-displayfd), so scripts started side by side never share
# one. -noreset: by default an X server resets whenever its last client disconnects and refuses the
# connections that arrive during the reset; with short GL clients starting back to back (a test's
# demo, the next test's) that refused about one start in twenty on a loaded machine, none without.
startXvfb() {
    local numberFile
    numberFile=$(mktemp)
    XVFB_LOG=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$numberFile" \
        >"$XVFB_LOG" 2>&1 &
    XVFB_PID=$!
    trap stopXvfb EXIT
    local number=""
    for _ in $(seq 1 100); do
        number=$(tr -d '[:space:]' <"$numberFile")
        [ -n "$number" ] && break
        sleep 0.1
    done
    rm -f "$numberFile"
    [ -n "$number" ] || { echo "Xvfb did not start: $(cat "$XVFB_LOG")" >&2; return 1; }
    export DISPLAY=":$number"
    for _ in $(seq 1 100); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "Xvfb did not answer on $DISPLAY: $(cat "$XVFB_LOG")" >&2
    return 1
}

# Never fails, so that an EXIT trap under set -e goes on to its next step.
stopXvfb() {
    [ -n "${XVFB_PID:-}" ] || return 0
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
    if [ -s "${XVFB_LOG:-}" ]; then
        sed 's/^/Xvfb: /' "$XVFB_LOG" >&2
    fi
    rm -f "${XVFB_LOG:-}"
    return 0
}

displayClients() {
    local clients
    clients=$(xlsclients 2>&1 | awk '{$1 = ""; print}' | paste -sd, -)
    echo "clients on $DISPLAY: ${clients:-none}"
}

# Freeglut ends a program at once with "failed to open display" when the display refused it.
# DISPLAY_TRIES bounds the starts.
DISPLAY_TRIES=${DISPLAY_TRIES:-5}
displayRefused() {
    grep -q "failed to open display" "$1" 2>/dev/null
}

# startWhileRefused LOG COMMAND...: runs COMMAND, which starts the program with its standard error
# in LOG and returns 0 once the program got going (its window showed, or it ran to its end), and
# runs it again while LOG says the display refused it. Returns 0 when a start got going, 1 when it
# ended early for another reason, 2 when the display refused all DISPLAY_TRIES starts.
startWhileRefused() {
    local log=$1 try
    shift
    for try in $(seq 1 "$DISPLAY_TRIES"); do
        "$@" && return 0
        displayRefused "$log" || return 1
        echo "the display refused the demo (start $try of $DISPLAY_TRIES)" >&2
    done
    return 2
}

# waitForWindow TITLE PID SECONDS: waits, while process PID runs, for a visible window titled
# exactly TITLE; WINDOW holds its id. Returns 0 once it shows, 1 when PID ended first, 2 when PID
# still runs without one after SECONDS.
waitForWindow() {
    local title=$1 pid=$2 tenths=$(($3 * 10)) _
    WINDOW=""
    for _ in $(seq 1 "$tenths"); do
        WINDOW=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1) || true
        [ -n "$WINDOW" ] && return 0
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 2
}
