#!/usr/bin/env bash
# The unpacked release without VertexShader.c: the console line names the file and the process
# ends with a non-zero status before drawing anything.
set -u
source "$DUSTRIDERS_SOURCE_DIR/tests/windows/e2e/common.bash"

unpackRelease
rm VertexShader.c
timeout 60 wine dustriders.exe >"$WORK/console.log" 2>/dev/null
status=$?
output=$(tr -d '\r' <"$WORK/console.log")
[ "$status" -ne 124 ] || fail "demo still running after 60 s without VertexShader.c"
[ "$status" -ne 0 ] || fail "demo ended with status 0 without VertexShader.c"
grep -qF "Sorry, can't open file: 'VertexShader.c'." <<<"$output" ||
    fail "no console line naming VertexShader.c (got: $output)"
echo "PASS (status $status)"
