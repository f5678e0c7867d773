#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under a private Xvfb: the normal build,
# then the release files (the Windows zip tested under Wine), the browser build's page and its
# lesson in Chromium and Firefox ESR on the Xvfb, and, where CI is set or with
# "--install", the .deb installed with apt and removed again and the tarball started; then once
# more with AddressSanitizer and UndefinedBehaviorSanitizer, then each fuzzer for a short, fixed
# time. "--quick" runs the normal build's tests only. Without
# CI or "--install" one line says that the install test, which changes the machine's packages, was
# skipped.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
quick=0
install=0
[ -n "${CI:-}" ] && install=1
for option in "$@"; do
    case $option in
    --quick) quick=1 ;;
    --install) install=1 ;;
    *)
        echo "usage: scripts/test.sh [--quick] [--install]" >&2
        exit 2
        ;;
    esac
done

scripts/install-deps.sh
# shellcheck source=lib/xvfb.sh
source scripts/lib/xvfb.sh
startXvfb

jobs=$(nproc)
logs=$(mktemp -d)
# Prints the plain "N passed, N failed" line of one ctest log.
summarise() {
    sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\2 \1/p' "$1" |
        awk '{print $1 - $2 " passed, " $2 " failed"}'
}
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs") | tee "$logs/normal.log"
if [ $quick -eq 1 ]; then
    echo "ctest: $(summarise "$logs/normal.log")"
    exit 0
fi

echo "== Release files; the Windows release tested under Wine =="
scripts/release.sh
tests/windows/run.sh | tee "$logs/windows.log"

echo "== The browser build's page, checked in Chromium and Firefox ESR =="
# release.sh has just built the page (scripts/web.sh) and the native tools the checks use.
# Its last row is the lesson's table of live views against the How it works pictures.
node tests/web/pageChecks.js build-web/site tests/goldens/25fps build/tools | tee "$logs/web.log"

if [ $install -eq 1 ]; then
    echo "== The Debian package installed, run and removed again; the tarball =="
    tests/install/run.sh
else
    echo "== Install test skipped: it installs a system package; run scripts/test.sh --install"
fi

echo "== AddressSanitizer and UndefinedBehaviorSanitizer =="
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DDUSTRIDERS_SANITIZE=ON >/dev/null
cmake --build build-sanitize -j"$jobs"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
(cd build-sanitize && ctest --output-on-failure -j"$jobs" -LE e2e) | tee "$logs/sanitize.log"

if [ -d fuzz ] && ls fuzz/*.cpp >/dev/null 2>&1; then
    echo "== Fuzzers, ${FUZZ_SECONDS:-30} s each =="
    CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DDUSTRIDERS_FUZZ=ON >/dev/null
    cmake --build build-fuzz -j"$jobs"
    for source in fuzz/*.cpp; do
        name=$(basename "$source" .cpp)
        work=$(mktemp -d)
        cp -r "fuzz/corpus/$name/." "$work/" 2>/dev/null || true
        "build-fuzz/fuzz/$name" -max_total_time="${FUZZ_SECONDS:-30}" -timeout=5 -close_fd_mask=2 \
            -rss_limit_mb=2048 "$work" 2>&1 | tail -n 3
        rm -rf "$work"
    done
fi
echo "All tests passed."
echo "ctest: $(summarise "$logs/normal.log")"
echo "windows: $(summarise "$logs/windows.log")"
echo "$(grep "^web: [0-9]* passed" "$logs/web.log" | tail -n 1)"
# One count per engine, named by the folder its views went to.
echo "lesson views matching: $(sed -n 's|.* \([0-9]* of [0-9]*\) lesson views match.*/\([a-z]*\)-lesson).*|\1 in \2|p' "$logs/web.log" | paste -sd ',' | sed 's/,/, /g')"
echo "sanitizers: $(summarise "$logs/sanitize.log")"
