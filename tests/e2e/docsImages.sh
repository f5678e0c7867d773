#!/usr/bin/env bash
# The "How it works" page shows what the code draws today: every picture it names is made by
# scripts/docs.sh, the renders match within the golden tolerance, the plots by what they draw, and
# the pass views show shadows worth looking at.
set -u
source "$DUSTRIDERS_SOURCE_DIR/tests/e2e/common.bash"

BUILD_DIR="$DUSTRIDERS_RUN_DIR/.." "$DUSTRIDERS_SOURCE_DIR/scripts/docs.sh" --check ||
    fail "docs/how-it-works/ is not what scripts/docs.sh makes today; run it and look at the pictures"
