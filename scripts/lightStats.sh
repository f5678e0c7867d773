#!/usr/bin/env bash
# Light statistics of the lit pass for the opening view and every second of the demo's script,
# replayed frame by frame from an existing build (run scripts/test.sh --quick or cmake first).
# Per shot: the share of scene pixels (sky left out) with a saturated channel, the share that is
# near black, and the median luminance of shadowed sand over the lit sand beside it. Exits
# non-zero when a shot is outside the limits printed under the table.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${BUILD_DIR:-$root/build}
tests="$build/tests/dustRidersTests"
[ -x "$tests" ] || { echo "no $tests; build first" >&2; exit 1; }

# shellcheck source=lib/xvfb.sh
source scripts/lib/xvfb.sh
startXvfb

log=$(mktemp)
trap 'rm -f "$log"; kill $XVFB_PID 2>/dev/null || true' EXIT
status=0
(cd "$build/run" && "$tests" --gtest_filter='LitPassRange.*' >"$log" 2>&1) || status=$?
sed -n 's/^light stats: //p' "$log"
if [ "$status" -ne 0 ]; then
    grep -E 'Failure|: (lit faces|too many|shadows too)' "$log" >&2 || cat "$log" >&2
    echo "some shots are outside the limits" >&2
fi
exit "$status"
