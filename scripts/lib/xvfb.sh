# Sourced by the scripts: starts a private Xvfb and exports DISPLAY; stopped when the shell exits.
# Xvfb picks a free display number itself (-displayfd), so scripts started side by side never share one.
startXvfb() {
    local numberFile
    numberFile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numberFile" >/dev/null 2>&1 &
    XVFB_PID=$!
    trap 'kill $XVFB_PID 2>/dev/null || true' EXIT
    local number=""
    for _ in $(seq 1 100); do
        number=$(tr -d '[:space:]' <"$numberFile")
        [ -n "$number" ] && break
        sleep 0.1
    done
    rm -f "$numberFile"
    [ -n "$number" ] || { echo "Xvfb did not start" >&2; return 1; }
    export DISPLAY=":$number"
    for _ in $(seq 1 100); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "Xvfb did not answer on $DISPLAY" >&2
    return 1
}

# Under load Xvfb now and then refuses a new connection, and freeglut then ends the program at once
# with "failed to open display". That, and nothing else, is worth starting a program again for:
# displayRefused is true when the program's log $1 says so. DISPLAY_TRIES bounds the starts.
DISPLAY_TRIES=${DISPLAY_TRIES:-5}
displayRefused() {
    grep -q "failed to open display" "$1" 2>/dev/null
}
