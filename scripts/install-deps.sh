#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo reel need; only what is missing.
# "--windows" adds the cross toolchain, Wine and what the Windows release is built from;
# "--release" what CPack's Debian package and its checks need (dependency lookup, lintian, the
# desktop-entry validator); "--web" Emscripten, Chromium and what the browser checks read with.
set -euo pipefail

PACKAGES="cmake g++ clang-14 libclang-rt-14-dev clang-format pkg-config make
freeglut3-dev libglew-dev libglu1-mesa-dev libglfw3-dev libgl1-mesa-dri
libgtest-dev libgmock-dev libbenchmark-dev lib3ds-dev libstb-dev
xvfb xauth xdotool x11-utils imagemagick python3-matplotlib"
for option in "$@"; do
  case $option in
  --windows) PACKAGES="$PACKAGES g++-mingw-w64-x86-64 mingw-w64 wine wine64 googletest dpkg-dev zip unzip" ;;
  --release) PACKAGES="$PACKAGES dpkg-dev file lintian desktop-file-utils" ;;
  --web) PACKAGES="$PACKAGES emscripten chromium zip python3-numpy python3-scipy python3-pil bc" ;;
  *)
    echo "usage: scripts/install-deps.sh [--windows] [--release] [--web]" >&2
    exit 2
    ;;
  esac
done

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
# shellcheck disable=SC2086
$SUDO apt-get install -y -q --no-install-recommends $missing
