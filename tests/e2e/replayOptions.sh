#!/usr/bin/env bash
# The replay tool refuses options that contradict each other or name nothing, at once, with one
# line on standard error and status 2, before it draws or writes a shot.
set -u
source "$DUSTRIDERS_SOURCE_DIR/tests/e2e/common.bash"

work=$(mktemp -d)
onExit 'rm -rf "$work"'
replay="$DUSTRIDERS_RUN_DIR/../tools/replay"
[ -x "$replay" ] || fail "no replay tool at $replay"

# expectRefused PATTERN ARGS...: status 2, one line matching PATTERN, no shot written.
expectRefused() {
    local pattern=$1 status=0 errors
    shift
    errors=$(cd "$DUSTRIDERS_RUN_DIR" && timeout 60 "$replay" --out "$work/out" "$@" 2>&1 >/dev/null) ||
        status=$?
    [ "$status" -eq 2 ] || fail "replay $* ended with status $status, expected 2 ($errors)"
    [ "$(wc -l <<<"$errors")" -eq 1 ] || fail "replay $* said more than one line: $errors"
    grep -qE "$pattern" <<<"$errors" || fail "replay $* said '$errors', expected /$pattern/"
    [ -z "$(ls -A "$work/out" 2>/dev/null)" ] || fail "replay $* wrote shots"
}

expectRefused '^replay: --fps and --pace exclude each other' --fps 20 --pace 3
expectRefused '^replay: --fps and --pace exclude each other' --pace 3 --fps 20
expectRefused "^replay: --compare $work/none: no such folder" --compare "$work/none"
echo "PASS"
