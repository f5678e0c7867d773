#!/usr/bin/env bash
# Runs the Windows tests (cross-built unit tests, then the release zip end to end) under Wine in a
# private prefix, on the display the caller provides. Needs scripts/windows.sh to have run.
# Arguments go to ctest (e.g. -R shaderMissing).
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build-windows/demo
export WINEPREFIX=$PWD/build-windows/wineprefix
export WINEDEBUG=-all
# No Mono or Gecko installer prompts; a crash ends the process instead of waiting in winedbg.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
export WINDOWS_SHOT_DIR=$PWD/build-windows/screenshots
mkdir -p "$WINDOWS_SHOT_DIR"
[ -n "${DISPLAY:-}" ] || { echo "tests/windows/run.sh needs a DISPLAY" >&2; exit 1; }
trap 'wineserver -k 2>/dev/null || true' EXIT
# A server left from an earlier run may be bound to another display.
wineserver -k 2>/dev/null || true

# The first start creates the prefix; doing it here keeps it out of the tests' time limits.
timeout 300 wine wineboot --init >/dev/null 2>&1

(cd "$build" && ctest --output-on-failure -V "$@") | grep -v "^[0-9]*: Test command\|^[0-9]*: Working Directory\|^[0-9]*: Environment variables\|^[0-9]*:  [A-Z_]*="
echo "Screenshots in $WINDOWS_SHOT_DIR"
