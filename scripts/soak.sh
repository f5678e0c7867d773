#!/usr/bin/env bash
# Runs the built demo under its own Xvfb for a set time (default 600 s) with random but repeatable
# user input: pointer moves in and out of the window, drags, wheel turns, special and letter keys
# and window resizes (never Escape). Then checks that the demo is still running and that its
# resident memory grew by less than 1 MB after the warm-up (the first minute). Runs shorter than
# two minutes (CI's) compare after a 10 s warm-up against 8 MB instead: within a minute the GL
# driver's own buffers swing by several MB, so they can only catch a runaway leak. Each reading is
# the floor of the demo's private memory between frames, in a small window (see settle).
# The soak's clock starts once the demo's 24 s script is over.
# Usage: scripts/soak.sh [seconds]   (SOAK_SEED picks another input sequence)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
seconds=${1:-600}
seed=${SOAK_SEED:-4711}
runDir=${DUSTRIDERS_RUN_DIR:-$root/build/run}
if [ "$seconds" -ge 120 ]; then
    warmup=60
    limitKb=${SOAK_LIMIT_KB:-1024}
else
    warmup=10
    limitKb=${SOAK_LIMIT_KB:-8192}
fi
[ "$seconds" -gt "$warmup" ] || { echo "soak: run for more than $warmup s" >&2; exit 2; }
[ -x "$runDir/dustriders" ] || { echo "soak: no built demo in $runDir" >&2; exit 2; }

# shellcheck source=lib/xvfb.sh
source scripts/lib/xvfb.sh
startXvfb

log=$(mktemp)
cd "$runDir"
demo=""
# No step may end the trap early: the demo may be dead already, which is the case the trap is for.
cleanUp() {
    set +e
    [ -n "$demo" ] && kill "$demo" 2>/dev/null
    stopXvfb
    rm -f "$log"
}
trap cleanUp EXIT

# Starts the demo and waits for its window; true once it shows (startWhileRefused starts it again
# where the display refused it).
# Large blocks from their own mappings and a trimmed heap: freed memory leaves the resident set,
# so what stays resident is what the demo keeps, not the allocator's high-water mark.
# LP_NUM_THREADS=0: llvmpipe rasterises on the demo's own thread. Its rasteriser threads keep
# scene bins and malloc arenas of their own whose resident part follows how far they lag behind,
# that is the machine's load (a CI run beside other builds once measured 11.6 MB of growth). On one
# thread the driver's memory is the same from frame to frame, so what grows is what the demo keeps;
# the demo's own code runs as ever.
startSoakDemo() {
    local shown=0
    launched=$(date +%s)
    LP_NUM_THREADS=0 GLIBC_TUNABLES=glibc.malloc.mmap_threshold=16384:glibc.malloc.trim_threshold=0 \
        ./dustriders >"$log" 2>&1 &
    demo=$!
    waitForWindow 'Kalvren: Dust Riders Demo' "$demo" 60 || shown=$?
    window=$WINDOW
    [ "$shown" -eq 0 ] && return 0
    [ "$shown" -eq 1 ] && { wait "$demo" || true; }
    return 1
}
if ! startWhileRefused "$log" startSoakDemo 2>&1; then
    tail -n 20 "$log"
    echo "soak: no demo window" >&2
    exit 1
fi

echo "soak: demo pid $demo"
rssKb() { awk '/^VmRSS:/ {print $2}' "/proc/$demo/status"; }
# Resident memory less the image buffer shared with the X server, whose size follows the
# window's size history rather than anything the demo keeps.
privateRssKb() {
    awk '/^VmRSS:/ {rss = $2} /^RssShmem:/ {shared = $2} END {print rss - shared}' \
        "/proc/$demo/status"
}
# Writes to the X connection so far: the demo makes a few at the end of every frame and none
# during one, so their count tells that frames are being drawn.
xWrites() { awk '/^syscw:/ {print $2}' "/proc/$demo/io"; }
# Each frame allocates and frees large transient buffers inside the GL driver (about 25 MB even
# in the small window); the lowest of the samples over a few dozen frames is the memory the demo
# keeps between frames. At least 100 samples over 5 s, and on until the demo has made 40 more
# writes, a dozen or more frames (at most 20 s): on a loaded machine frames are slow and few, and
# a floor taken over too few of them is several MB too high.
settledRssKb() {
    local i lowest="" now writes
    writes=$(xWrites)
    for i in $(seq 1 400); do
        now=$(privateRssKb)
        if [ -z "$lowest" ] || [ "$now" -lt "$lowest" ]; then lowest=$now; fi
        [ "$i" -ge 100 ] && [ $(($(xWrites) - writes)) -ge 40 ] && break
        sleep 0.05
    done
    echo "$lowest"
}

checkAlive() {
    if ! kill -0 "$demo" 2>/dev/null; then
        local status=0
        wait "$demo" || status=$?
        tail -n 20 "$log"
        echo "soak: FAIL, demo ended with status $status $(($(date +%s) - launched)) s after launch" >&2
        exit 1
    fi
}

# The same last resizes and the pointer outside before each reading; a small window keeps the
# driver's view-dependent work, which changes from frame to frame, out of the readings. On one
# thread of a loaded machine a frame at the large size takes many seconds; the reading waits
# until frames at the small size follow one another (at most 60 s).
settle() {
    resizeAndWait 1000 800
    sleep 0.5
    resizeAndWait 100 100
    xdotool mousemove 1000 900 2>/dev/null || true
    local writes i
    writes=$(xWrites)
    for i in $(seq 1 600); do
        [ $(($(xWrites) - writes)) -ge 10 ] && break
        sleep 0.1
    done
    sleep 1
    checkAlive
}

# Resizes the window to $1 x $2 and waits until it has that size: on a loaded machine a request
# can be lost with the connection that carries it, and a reading in the wrong size is off by that
# size's buffers.
resizeAndWait() {
    local i
    for i in $(seq 1 50); do
        xdotool windowsize "$window" "$1" "$2" 2>/dev/null || true
        sleep 0.1
        [ "$(xdotool getwindowgeometry "$window" 2>/dev/null | awk '/Geometry/ {print $2}')" = "$1x$2" ] &&
            return 0
    done
    echo "soak: the window did not take the size $1 x $2" >&2
}

RANDOM=$seed
keys=(Left Right Up Down Page_Up Page_Down r R space w F1 Home)

randomAction() {
    # Pointer positions reach a little outside the window so the edge zones and leaving it occur.
    local x=$((RANDOM % 700 - 20)) y=$((RANDOM % 540 - 20))
    ((x < 0)) && x=0
    ((y < 0)) && y=0
    case $((RANDOM % 10)) in
    0 | 1 | 2) xdotool mousemove "$x" "$y" ;;
    3) xdotool mousemove "$x" "$y" mousedown 1 mousemove $((RANDOM % 640)) $((RANDOM % 480)) \
        mouseup 1 ;;
    4) xdotool mousemove "$x" "$y" click $((4 + RANDOM % 2)) ;;
    5) xdotool mousemove "$x" "$y" mousedown 3 mouseup 3 ;;
    # Key events reach the window only while the pointer is over it.
    6 | 7) xdotool mousemove $((RANDOM % 640)) $((RANDOM % 480)) \
        key --window "$window" "${keys[RANDOM % ${#keys[@]}]}" ;;
    8) resizeTo "${sizes[RANDOM % ${#sizes[@]}]}" ;;
    9) xdotool mousemove 1200 1000 ;;
    esac
}

# Resizes pick from a fixed set: the driver's size-dependent buffers leave allocator high-water
# marks, and the warm-up visits every size (and both polygon modes) so those are not counted as
# growth.
sizes=(640x480 320x240 800x600 1000x800 200x700 900x150 100x100)
resizeTo() { xdotool windowsize "$window" "${1%x*}" "${1#*x}"; }

tour() {
    local i
    for i in $(seq 1 60); do
        resizeTo "${sizes[RANDOM % ${#sizes[@]}]}"
        sleep 0.05
    done
    for i in "${sizes[@]}"; do
        resizeTo "$i"
        sleep 0.3
    done
    xdotool mousemove 50 50 key --window "$window" r
    sleep 0.5
    xdotool key --window "$window" r
    sleep 0.5
}

tour 2>/dev/null || true
echo "soak: RSS after the size sweep: $(rssKb) kB"
# The demo's own script changes the view for its first 24 s; the soak's clock starts after it.
while [ $(($(date +%s) - launched)) -lt 26 ]; do
    randomAction 2>/dev/null || true
    sleep 0.1
done
checkAlive
begin=$(date +%s)
warmRss=""
actions=0
lastTrace=0
while :; do
    now=$(date +%s)
    elapsed=$((now - begin))
    if [ $((elapsed / 10)) -gt "$lastTrace" ]; then
        lastTrace=$((elapsed / 10))
        echo "soak: ${elapsed} s, RSS $(rssKb) kB ($(awk '/^RssAnon:/ {print $2}' \
            "/proc/$demo/status") kB anonymous)"
    fi
    if [ -z "$warmRss" ] && [ "$elapsed" -ge "$warmup" ]; then
        settle
        warmRss=$(settledRssKb)
        echo "soak: private RSS after the ${warmup} s warm-up: $warmRss kB"
        # The reading's own time, long on a loaded machine, is not input time.
        begin=$((begin + $(date +%s) - now))
    fi
    [ "$elapsed" -ge "$seconds" ] && break
    # xdotool's complaints about focus on a bare X server are noise; a dead demo is caught below.
    randomAction 2>/dev/null || true
    actions=$((actions + 1))
    sleep 0.0$((RANDOM % 10))
    ((actions % 20 == 0)) && checkAlive
done

settle
endRss=$(settledRssKb)
growth=$((endRss - warmRss))
echo "soak: $actions input actions in $seconds s (seed $seed), demo alive"
echo "soak: private RSS after $seconds s: $endRss kB, growth since warm-up: $growth kB (limit $limitKb kB)"
[ "$growth" -lt "$limitKb" ] || { echo "soak: FAIL, memory grew by $growth kB" >&2; exit 1; }
echo "soak: PASS"
