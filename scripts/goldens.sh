#!/usr/bin/env bash
# The golden shots under tests/goldens/: one reference per script second at 25 and at 60 frames a
# second, 640 x 480 replay frames shrunk to 160 x 120, drawn by Mesa's llvmpipe on a private Xvfb.
# From an existing build (run scripts/test.sh --quick or cmake first):
#   scripts/goldens.sh            run the golden test
#   scripts/goldens.sh --update   rewrite the references from the replay, after an intended
#                                 change of the picture (say why in the commit)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${BUILD_DIR:-$root/build}
update=0
case "${1:-}" in
--update) update=1 ;;
"") ;;
*)
    echo "usage: scripts/goldens.sh [--update]" >&2
    exit 2
    ;;
esac

# The references hold for Mesa's software renderer only: always a private Xvfb, and Mesa's
# llvmpipe whatever GL the desktop has.
# shellcheck source=lib/xvfb.sh
source scripts/lib/xvfb.sh
startXvfb
export __GLX_VENDOR_LIBRARY_NAME=mesa LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=llvmpipe
cmake --build "$build" -j2 --target replay dustRidersTests >/dev/null

if [ $update -eq 0 ]; then
    # Not exec: the EXIT trap stops the Xvfb after the test.
    cd "$build"
    ctest --output-on-failure -R GoldenShots
    exit
fi
for fps in 25 60; do
    out=$root/tests/goldens/${fps}fps
    rm -rf "$out"
    (cd "$build/run" && ../tools/replay --fps "$fps" --size 640x480 --scale-down 4 --out "$out")
done
echo "wrote $(find tests/goldens -name '*.png' | wc -l) references, $(du -sh tests/goldens | cut -f1)"
