#!/usr/bin/env bash
# Writes the four release files into dist/, each packed by CPack from the install rules in
# cmake/packaging.cmake (the version comes from project() in CMakeLists.txt):
#   dustriders_VERSION_amd64.deb   the Debian package ("sudo apt install ./dustriders_….deb");
#   dustriders-linux-x64.tar.gz    one folder; "dustriders-linux-x64/start.sh" starts the demo;
#   dustriders-windows-x64.zip     from scripts/windows.sh's cross-build;
#   dustriders-web.zip             the page, from scripts/web.sh's Emscripten build.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --release
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target dustriders icons
# A package of an earlier version must not be copied along.
rm -rf build/packages
(cd build && cpack -G "TGZ;DEB" >/dev/null)
mkdir -p dist
rm -f dist/dustriders_*.deb dist/dustriders-linux-x64.tar.gz
cp build/packages/dustriders-linux-x64.tar.gz build/packages/dustriders_*.deb dist/

scripts/windows.sh
scripts/web.sh
for file in dist/dustriders_*.deb dist/dustriders-linux-x64.tar.gz dist/dustriders-windows-x64.zip \
    dist/dustriders-web.zip; do
    echo "Wrote $file ($(stat -c %s "$file") bytes)"
done
