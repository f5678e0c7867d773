#!/usr/bin/env bash
# Writes the README images from an existing build (run scripts/test.sh --quick or cmake first):
# docs/opening-view.png, a screenshot of the demo's window a few seconds after it starts, and
# docs/shadowed-scene.png, a view from above onto figures, rake, cactus and house with their
# shadows, rendered by the frame benchmark.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${BUILD_DIR:-$root/build}
[ -x "$build/run/dustriders" ] || { echo "no demo in $build/run; build first" >&2; exit 1; }
[ -x "$build/bench/frameBench" ] || { echo "no frameBench in $build/bench; build first" >&2; exit 1; }
mkdir -p docs

# shellcheck source=lib/xvfb.sh
source scripts/lib/xvfb.sh
startXvfb

title="Kalvren: Dust Riders Demo"
(cd "$build/run" && exec ./dustriders >/dev/null 2>&1) &
demo=$!
trap 'kill $demo 2>/dev/null || true; kill $XVFB_PID 2>/dev/null || true' EXIT
window=""
for _ in $(seq 1 300); do
    window=$(xdotool search --name "^$title\$" 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "the demo's window did not appear" >&2; exit 1; }
# Inside the script's first phase: the camera has not moved yet.
sleep 2
import -window "$window" docs/opening-view.png
kill "$demo"

shots=$(mktemp -d)
"$build/bench/frameBench" --screenshots "$shots" >/dev/null
cp "$shots/shadowed-scene.png" docs/shadowed-scene.png
rm -rf "$shots"
echo "wrote docs/opening-view.png and docs/shadowed-scene.png"
