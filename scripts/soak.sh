#!/usr/bin/env bash
# Runs the built demo under its own Xvfb for a set time (default 600 s) with random but repeatable
# user input: pointer moves in and out of the window, drags, wheel turns, special and letter keys
# and window resizes (never Escape). Then checks that the demo is still running and that its
# resident memory grew by less than 1 MB after the warm-up (the first minute). Runs shorter than
# two minutes (CI's) compare after a 10 s warm-up against 8 MB instead: within a minute the GL
# driver's own buffers swing by several MB, so they can only catch a runaway leak.
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
launched=$(date +%s)
# Large blocks from their own mappings and a trimmed heap: freed memory leaves the resident set,
# so what stays resident is what the demo keeps, not the allocator's high-water mark.
GLIBC_TUNABLES=glibc.malloc.mmap_threshold=16384:glibc.malloc.trim_threshold=0 ./dustriders >"$log" 2>&1 &
demo=$!
trap 'kill $demo 2>/dev/null || true; kill $XVFB_PID 2>/dev/null || true; rm -f "$log"' EXIT

window=""
for _ in $(seq 1 600); do
    window=$(xdotool search --onlyvisible --name '^Kalvren: Dust Riders Demo$' 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    kill -0 "$demo" 2>/dev/null || break
    sleep 0.1
done
[ -n "$window" ] || { tail -n 20 "$log"; echo "soak: no demo window" >&2; exit 1; }

echo "soak: demo pid $demo"
rssKb() { awk '/^VmRSS:/ {print $2}' "/proc/$demo/status"; }
# Resident memory less the image buffer shared with the X server, whose size follows the
# window's size history rather than anything the demo keeps.
privateRssKb() {
    awk '/^VmRSS:/ {rss = $2} /^RssShmem:/ {shared = $2} END {print rss - shared}' \
        "/proc/$demo/status"
}
# Each frame allocates and frees large transient buffers inside the GL driver; the lowest of 20
# samples over 2 s is the memory the demo keeps between frames.
settledRssKb() {
    local i lowest="" now
    for i in $(seq 1 20); do
        now=$(privateRssKb)
        if [ -z "$lowest" ] || [ "$now" -lt "$lowest" ]; then lowest=$now; fi
        sleep 0.1
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
# driver's view-dependent work, which changes from frame to frame, out of the readings.
settle() {
    xdotool windowsize "$window" 1000 800 2>/dev/null || true
    sleep 0.5
    xdotool windowsize "$window" 100 100 2>/dev/null || true
    xdotool mousemove 1000 900 2>/dev/null || true
    sleep 2
    checkAlive
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
