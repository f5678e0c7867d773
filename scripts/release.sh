#!/usr/bin/env bash
# Builds the Linux release and writes dist/dustriders-linux-x64.tar.gz: "cmake --install" of the
# normal build (the executable, the two shader files, the generated res/ and start.sh). Unpacked,
# "dustriders-linux-x64/start.sh" starts the demo; it needs Debian's freeglut, GLEW and GLFW
# libraries (freeglut3, libglew2.2, libglfw3). The Windows zip comes from scripts/windows.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
stage=build/release
rm -rf "$stage"
cmake --install build --prefix "$stage" --strip >/dev/null
mkdir -p dist
tar -czf dist/dustriders-linux-x64.tar.gz -C "$stage" dustriders-linux-x64
echo "Wrote dist/dustriders-linux-x64.tar.gz ($(stat -c %s dist/dustriders-linux-x64.tar.gz) bytes)"
