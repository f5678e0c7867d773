#!/usr/bin/env bash
# The unpacked release without res/rock.3ds: a real message box titled "Dust Riders" names the
# file; after Return the demo goes on and shows the scene without the rock.
set -u
source "$DUSTRIDERS_SOURCE_DIR/tests/windows/e2e/common.bash"

unpackRelease
rm res/rock.3ds
startDemo
box=$(waitForWindow "Dust Riders" 60) || exit 1
# The box text as Windows holds it, read by a helper in the same Wine prefix.
text=$(timeout 30 wine "$BOX_TEXT_EXE" "Dust Riders" 2>/dev/null | tr -d '\r')
grep -qF "3DS file not found (res/rock.3ds)" <<<"$text" ||
    fail "box does not name res/rock.3ds (got: $text)"
sleep 0.5
import -window "$box" "$SHOT_DIR/windows-error-box.png" || fail "no screenshot of the box"

closeBox "$box" "Dust Riders"

window=$(waitForWindow "$TITLE" 30) || exit 1
waitForScene "$window" 60
pressKey "$window" Escape
assertExitStatus 0 15
echo "PASS ($(head -n 2 <<<"$text" | tr '\n' ' '))"
