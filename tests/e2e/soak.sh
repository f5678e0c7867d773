#!/usr/bin/env bash
# One minute of random user input against the real demo: it keeps running and its resident
# memory settles (compared after a 10 s warm-up for a run this short).
set -u
exec bash "$DUSTRIDERS_SOURCE_DIR/scripts/soak.sh" "${SOAK_SECONDS:-60}"
