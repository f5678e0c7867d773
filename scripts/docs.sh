#!/usr/bin/env bash
# Makes every picture of docs/how-it-works.md, all with the project's own tools, into
# docs/how-it-works/ (building the replay into build/ first, or into $BUILD_DIR):
#   pass-1-depth.png .. pass-4-frame.png  the frame's passes (replay --pass-views) at the 15 fps
#                                         replay's shot of 23 s: fountain, figures and shadows
#   acne.png                              the same frame's lit pass with no depth bias
#   camera-path.svg                       the eye from above at 25, 60 and 144 fps (matplotlib)
#   script-timeline.svg                   the script's phases, setups and moves (matplotlib)
# "--check" builds nothing: it makes them from the existing build in a scratch folder instead and
# holds the page against them. Every picture the page names must be one of these, and each must
# match what is made today, the renders within the golden tolerance, the plots byte for byte.
# Status 1 names what differs.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${BUILD_DIR:-$root/build}
page=docs/how-it-works.md
images=docs/how-it-works
check=0
[ "${1:-}" = "--check" ] && check=1
if [ $check -eq 0 ]; then
    # From a fresh clone too: what is missing is installed, the replay and its files are built.
    scripts/install-deps.sh
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" -j"$(nproc)" --target replay >/dev/null
fi
[ -x "$build/tools/replay" ] || { echo "no replay in $build/tools; build first" >&2; exit 1; }
[ -d "$build/run/res" ] || { echo "no $build/run/res; build first" >&2; exit 1; }

PASS_FPS=15
PASS_SECOND=23
PATH_RATES="25 60 144"
RENDERS="pass-1-depth.png pass-2-unshadowed.png pass-3-shadowed.png pass-4-frame.png acne.png"
PLOTS="camera-path.svg script-timeline.svg"
# Debian's Python, whose matplotlib the install script provides.
python=/usr/bin/python3
export PYTHONDONTWRITEBYTECODE=1

work=$(mktemp -d)
cleanup() { rm -rf "$work"; }
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
    # shellcheck source=lib/xvfb.sh
    source scripts/lib/xvfb.sh
    startXvfb
    trap 'cleanup; kill $XVFB_PID 2>/dev/null || true' EXIT
fi

out=$images
[ $check -eq 1 ] && out=$work/made
mkdir -p "$out"

# The replay reads the shader files and res/ from its working directory, as the demo does.
replay() { (cd "$build/run" && ../tools/replay "$@"); }

status=0
# Pass views at half the window's size, four to a row on the page; in a check the replay holds
# them against the page's own with the golden tolerance.
compare=()
[ $check -eq 1 ] && compare=(--compare "$root/$images")
replay --fps $PASS_FPS --pass-views $PASS_SECOND --scale-down 2 "${compare[@]}" \
    --out "$work/views" >"$work/views.log" || status=1
if [ $check -eq 1 ]; then
    grep -v '^replay:' "$work/views.log" || true
    [ $status -eq 0 ] || echo "FAIL: the pass views differ from $images/ (figures above)"
fi
for image in $RENDERS; do
    [ -f "$work/views/$image" ] && cp "$work/views/$image" "$out/$image"
done

paths=()
for fps in $PATH_RATES; do
    replay --fps "$fps" --camera-path "$work/path-$fps.csv" >/dev/null
    paths+=("$fps=$work/path-$fps.csv")
done
PYTHONPATH=scripts/lib $python scripts/lib/plotCameraPath.py "$out/camera-path.svg" "${paths[@]}"
PYTHONPATH=scripts/lib $python scripts/lib/plotScriptTimeline.py "$out/script-timeline.svg" \
    demo/choreography.cpp "$work/path-25.csv"

if [ $check -eq 0 ]; then
    for image in $RENDERS $PLOTS; do
        echo "wrote $images/$image ($(stat -c %s "$images/$image") bytes)"
    done
    exit $status
fi

# Every picture the page names is one made here, and is there.
[ -f "$page" ] || { echo "FAIL: no $page"; exit 1; }
named=$( (grep -o "](how-it-works/[^)]*)" "$page" || true) | sed 's/^](how-it-works\///; s/)$//' |
    sort -u)
[ -n "$named" ] || { echo "FAIL: $page names no picture"; status=1; }
for image in $named; do
    case " $RENDERS $PLOTS " in
    *" $image "*) ;;
    *) echo "FAIL: $page names $image, which scripts/docs.sh does not make"; status=1 ;;
    esac
    [ -f "$images/$image" ] || { echo "FAIL: $images/$image missing"; status=1; }
done
for image in $PLOTS; do
    if cmp -s "$out/$image" "$images/$image"; then
        echo "$image: as made today"
    else
        echo "FAIL: $images/$image differs from what scripts/docs.sh makes today"
        status=1
    fi
done
total=$(du -cb "$images" | tail -1 | cut -f1)
if [ "$total" -gt 2000000 ]; then
    echo "FAIL: the page's pictures take $total bytes, over 2 MB"
    status=1
fi
[ $status -eq 0 ] && echo "PASS: the page's pictures are what scripts/docs.sh makes ($total bytes)"
exit $status
