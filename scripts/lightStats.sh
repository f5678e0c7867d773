#!/usr/bin/env bash
# Light statistics of the lit pass for the opening view and every second of the demo's script,
# replayed frame by frame from an existing build (run scripts/test.sh --quick or cmake first).
# Per shot: the share of scene pixels (sky left out) with a saturated channel, the share that is
# near black, and the median luminance of shadowed sand over the lit sand beside it. Exits
# non-zero when a shot is outside the limits printed under the table.
# Usage: scripts/lightStats.sh [--reel]
set -euo pipefail
reel=0
[ "${1:-}" = --reel ] && reel=1
cd "$(dirname "$0")/.."
root=$(pwd)
build=${BUILD_DIR:-$root/build}
tests="$build/tests/dustRidersTests"
[ -x "$tests" ] || { echo "no $tests; build first" >&2; exit 1; }

# shellcheck source=lib/xvfb.sh
source scripts/lib/xvfb.sh
startXvfb

log=$(mktemp)
trap 'rm -f "$log"; stopXvfb' EXIT
status=0
(cd "$build/run" && "$tests" --gtest_filter='LitPassRange.*' >"$log" 2>&1) || status=$?
sed -n 's/^light stats: //p' "$log"
if [ "$status" -ne 0 ]; then
    grep -E 'Failure|: (lit faces|too many|shadows too)' "$log" >&2 || cat "$log" >&2
    echo "some shots are outside the limits" >&2
fi

# With --reel: the running demo's own screenshots too (scripts/demoReel.sh), one a second. Sky is
# the clear colour; particles count as scene here, and the sand's shadows need the replay above.
if [ "$reel" = 1 ]; then
    shots=$(mktemp -d)
    REEL_DIR="$shots" scripts/demoReel.sh >/dev/null
    echo "running demo, window screenshots:"
    printf '%-8s %10s %11s\n' shot saturated "near black"
    for png in "$shots"/[0-9][0-9]s.png; do
        convert "$png" -depth 8 ppm:- | python3 -c '
import sys
data = sys.stdin.buffer.read()
fields, at = [], 0
while len(fields) < 4:
    while data[at:at + 1].isspace():
        at += 1
    end = at
    while not data[end:end + 1].isspace():
        end += 1
    fields.append(data[at:end])
    at = end
pixels = data[at + 1:]
scene = saturated = dark = 0
for i in range(0, len(pixels) - 2, 3):
    r, g, b = pixels[i], pixels[i + 1], pixels[i + 2]
    if abs(r - 135) <= 1 and abs(g - 207) <= 1 and b == 255:
        continue
    scene += 1
    saturated += r == 255 or g == 255 or b == 255
    dark += 0.299 * r + 0.587 * g + 0.114 * b < 40
name = sys.argv[1]
print("%-8s %9.1f%% %10.1f%%" % (name, 100.0 * saturated / max(scene, 1), 100.0 * dark / max(scene, 1)))
' "$(basename "$png" .png)"
    done
    rm -rf "$shots"
fi
exit "$status"
