#!/usr/bin/env bash
# Builds the generator and the model-sheet tool, renders every model from four sides and the
# assembled scene, and prints the contact sheet's path.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=lib/xvfb.sh
source scripts/lib/xvfb.sh
startXvfb
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target modelSheet >/dev/null
build/tools/modelSheet "$(pwd)/build/model-sheets" >/dev/null
echo "$(pwd)/build/model-sheets/contact-sheet.png"
