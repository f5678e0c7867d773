#!/usr/bin/env bash
# Builds the browser release into build-web/ with Debian's Emscripten (and the Linux build's
# tools the page's checks use: tools/modelCounts, shotCheck, inputState) and writes
# dist/dustriders-web.zip: index.html, dustriders.js, dustriders.wasm and dustriders.data (res/ and
# the two shader files, packed). Serve the unzipped folder with any static web server, e.g.
# "python3 -m http.server" in it; browsers refuse WebAssembly from file://.
# "--bench" then measures the page against the desktop's frameBench on the same rasterizer (Mesa's
# llvmpipe; Chromium headful on Xvfb with ANGLE over GL), in alternating pairs (BENCH_PAIRS, 3 by
# default): both renderer strings, each pass's medians and web / desktop ratios, the interval of
# the page's animation frames against the desktop's frame, and the page's main-thread time, bytes
# uploaded and draw calls per frame; then the page again in a Chromium whose GPU process keeps
# llvmpipe's freed memory, as glibc does for frameBench (tests/web/bench.js).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=$(nproc)

scripts/install-deps.sh --web

# The assets and frameBench come from the Linux build (the same res/ bytes on every platform).
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs" --target assets shaders modelCounts shotCheck inputState

# Debian's emcc needs Debian's node modules and Debian's python; another python may come first.
export NODE_PATH=/usr/share/nodejs
export PATH=/usr/bin:$PATH
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DDUSTRIDERS_RUN_DIR="$root/build/run" >/dev/null
cmake --build build-web -j"$jobs"

mkdir -p dist
rm -f dist/dustriders-web.zip
staging=$(mktemp -d)
cp -r build-web/site "$staging/dustriders-web"
(cd "$staging" && zip -qr "$root/dist/dustriders-web.zip" dustriders-web)
rm -rf "$staging"
echo "Wrote dist/dustriders-web.zip ($(stat -c %s dist/dustriders-web.zip) bytes)"

if [ "${1:-}" = "--bench" ]; then
    cmake --build build -j"$jobs" --target frameBench
    # shellcheck source=lib/xvfb.sh
    source scripts/lib/xvfb.sh
    startXvfb
    node tests/web/bench.js build-web/site build/bench/frameBench build/run "${BENCH_PAIRS:-3}"
fi
