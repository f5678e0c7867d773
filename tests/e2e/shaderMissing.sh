#!/usr/bin/env bash
# The real demo in a copy of the run directory with one shader file removed: it prints the
# file's name and ends with a non-zero status before drawing anything.
set -u
source "$DUSTRIDERS_SOURCE_DIR/tests/e2e/common.bash"

work=$(mktemp -d)
onExit 'rm -rf "$work"'
cp -r "$DUSTRIDERS_RUN_DIR/." "$work/"
cd "$work" || fail "no copy of the run directory"

expectRefusal() {
    local missing=$1
    cp "$DUSTRIDERS_RUN_DIR/VertexShader.c" "$DUSTRIDERS_RUN_DIR/FragmentShader.c" .
    rm "$missing"
    runDemoToEnd 60
    [ "$DEMO_STATUS" -ne 124 ] || fail "demo still running without $missing"
    [ "$DEMO_STATUS" -ne 0 ] || fail "demo ended with status 0 without $missing"
    grep -qF "Sorry, can't open file: '$missing'." <<<"$DEMO_OUTPUT" ||
        fail "no message naming $missing (got: $DEMO_OUTPUT)"
}

expectRefusal VertexShader.c
expectRefusal FragmentShader.c
echo "PASS"
