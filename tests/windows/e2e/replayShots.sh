#!/usr/bin/env bash
# The Windows build draws the same pixels: the cross-built replay, run under Wine from the unpacked
# release's files, writes the 25 fps shots and holds each against the Linux references under
# tests/goldens/25fps with the golden test's tolerance. Prints the largest figures.
set -u
source "$DUSTRIDERS_SOURCE_DIR/tests/windows/e2e/common.bash"

unpackRelease
cp "$REPLAY_EXE" replay.exe || fail "no replay.exe at $REPLAY_EXE"
cp -r "$DUSTRIDERS_SOURCE_DIR/tests/goldens/25fps" references
timeout 240 wine replay.exe --fps 25 --size 640x480 --scale-down 4 --compare references \
    --out shots >"$WORK/replay.log" 2>&1
status=$?
tr -d '\r' <"$WORK/replay.log" >"$WORK/replay.txt"
# Leave the differing shots and their diff images where the other checks leave screenshots.
if ls shots/*-diff.png >/dev/null 2>&1; then
    mkdir -p "$SHOT_DIR/replay"
    cp shots/*.png "$SHOT_DIR/replay/"
fi
[ "$status" -ne 124 ] || fail "replay.exe still running after 240 s"
grep -q "MISMATCH\|no .* reference" "$WORK/replay.txt" && cat "$WORK/replay.txt" >&2
[ "$status" -eq 0 ] || fail "replay.exe ended with status $status (shots and diffs in $SHOT_DIR/replay)"
shots=$(grep -c "^[0-9][0-9]s.png: mean difference" "$WORK/replay.txt")
[ "$shots" -eq 27 ] || fail "$shots of 27 shots compared"
largest=$(awk '/mean difference/ {gsub(",", ""); if ($4 > m) m = $4; if ($5 > s) s = $5}
    END {printf "largest mean difference %.3f, largest share off %.4f %%", m, s}' "$WORK/replay.txt")
echo "PASS (27 shots at 25 fps agree with the Linux references; $largest)"
