#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo reel need; only what is missing.
# "--windows" adds the cross toolchain, Wine and what the Windows release is built from;
# "--release" what CPack's Debian package and its checks need (dependency lookup, lintian, the
# desktop-entry validator); "--web" Emscripten, both browsers the page is checked in (Chromium and
# Firefox ESR) and, with npm, the pinned browser driver of tests/web/.
set -euo pipefail

PACKAGES="cmake g++ clang-14 libclang-rt-14-dev clang-format pkg-config make
freeglut3-dev libglew-dev libglu1-mesa-dev libglfw3-dev libgl1-mesa-dri
libgtest-dev libgmock-dev libbenchmark-dev lib3ds-dev libstb-dev
xvfb xauth xdotool x11-utils imagemagick python3-matplotlib"
for option in "$@"; do
  case $option in
  --windows) PACKAGES="$PACKAGES g++-mingw-w64-x86-64 mingw-w64 wine wine64 googletest dpkg-dev zip unzip" ;;
  --release) PACKAGES="$PACKAGES dpkg-dev file lintian desktop-file-utils" ;;
  --web) PACKAGES="$PACKAGES emscripten chromium firefox-esr zip python3-numpy python3-scipy python3-pil bc"
        web=1 ;;
  *)
    echo "usage: scripts/install-deps.sh [--windows] [--release] [--web]" >&2
    exit 2
    ;;
  esac
done

# Node and npm may come from elsewhere than Debian; only where there is none do Debian's serve.
if [ "${web:-0}" = 1 ] && ! command -v npm >/dev/null 2>&1; then
  PACKAGES="$PACKAGES nodejs npm"
fi

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
# The browser driver at the version its lock file pins; it downloads no browser of its own.
installDriver() {
  [ "${web:-0}" = 1 ] || return 0
  local dir
  dir="$(cd "$(dirname "$0")/.." && pwd)/tests/web"
  # A copy of the lock file beside the modules says they are the ones it pins.
  if ! cmp -s "$dir/package-lock.json" "$dir/node_modules/.installed-lock.json" 2>/dev/null; then
    (cd "$dir" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error &&
      cp package-lock.json node_modules/.installed-lock.json)
  fi
}

if [ -z "$missing" ]; then
  installDriver
  exit 0
fi

echo "Installing:$missing"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
# shellcheck disable=SC2086
$SUDO apt-get install -y -q --no-install-recommends $missing
installDriver
