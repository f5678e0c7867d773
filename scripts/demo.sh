#!/usr/bin/env bash
# Installs what is missing, builds, and starts the demo from its run directory.
# With no DISPLAY set it records a headless reel instead (see scripts/demoReel.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
if [ -z "${DISPLAY:-}" ]; then
    exec scripts/demoReel.sh
fi
cd build/run
exec ./dustriders
