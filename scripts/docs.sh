#!/usr/bin/env bash
# Makes every picture of docs/how-it-works.md, all with the project's own tools, into
# docs/how-it-works/ (building the replay into build/ first, or into $BUILD_DIR):
#   pass-1-depth.png .. pass-4-frame.png  the frame's passes (replay --pass-views) at the 25 fps
#                                         replay's shot of 0 s: the girl, the rake, long shadows
#   pass-5-difference.png                 where the shadow lookup changes the lit pass
#   bias-strip.png, pcf-strip.png         one close crop: bias 0, as shipped, 4 x; one tap, 4 x 4
#   depth-map.svg                         the depth map labelled, with its stretch (matplotlib)
#   camera-path.svg                       the eye from above at 25, 60 and 144 fps (matplotlib)
#   script-timeline.svg                   the script's phases, setups and moves (matplotlib)
# "--check" builds nothing: it makes them from the existing build in a scratch folder instead and
# holds the page against them. Every picture the page names must be one of these, and each must
# match what is made today: the renders within the golden tolerance, the plots by what they draw
# (plotDrawn.py: their lines, texts and images, not their bytes). Status 1 names what differs.
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

PASS_FPS=25
PASS_SECOND=0
PATH_RATES="25 60 144"
RENDERS="pass-1-depth.png pass-2-unshadowed.png pass-3-shadowed.png pass-4-frame.png
    pass-5-difference.png bias-strip.png pcf-strip.png"
RENDERS=$(echo $RENDERS)
PLOTS="depth-map.svg camera-path.svg script-timeline.svg"
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
    trap 'cleanup; stopXvfb' EXIT
fi

out=$images
[ $check -eq 1 ] && out=$work/made
mkdir -p "$out"

# The replay reads the shader files and res/ from its working directory, as the demo does.
replay() { (cd "$build/run" && ../tools/replay "$@"); }

status=0
# Pass views at half the window's size, two to a row on the page; in a check the replay holds
# them against the page's own with the golden tolerance.
compare=()
[ $check -eq 1 ] && compare=(--compare "$root/$images")
replay --fps $PASS_FPS --pass-views $PASS_SECOND --scale-down 2 "${compare[@]}" \
    --out "$work/views" >"$work/views.log" || status=1
if [ $check -eq 1 ]; then
    grep -v '^replay:' "$work/views.log" || true
    [ $status -eq 0 ] || echo "FAIL: the pass views differ from $images/ (figures above)"
else
    grep '^pass views:' "$work/views.log" || cat "$work/views.log"
fi
# The page's shadows must be worth looking at: the lookup changes at least this share of pixels.
share=$(sed -n 's/^shadowed share,\([0-9.]*\),$/\1/p' "$work/views/depth-labels.csv" 2>/dev/null)
if ! awk -v s="${share:-0}" 'BEGIN { exit !(s >= 0.05) }'; then
    echo "FAIL: the shadow lookup changes ${share:-no} share of the pass views' pixels, under 0.05"
    status=1
fi
for image in $RENDERS; do
    [ -f "$work/views/$image" ] && cp "$work/views/$image" "$out/$image"
done

PYTHONPATH=scripts/lib $python scripts/lib/plotDepthMap.py "$out/depth-map.svg" \
    "$work/views/pass-1-depth.png" "$work/views/depth-labels.csv" 640x480 || status=1

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
    if found=$(PYTHONPATH=scripts/lib $python scripts/lib/plotDrawn.py "$out/$image" \
        "$images/$image"); then
        echo "$image: draws what is made today"
    else
        echo "FAIL: $images/$image does not draw what scripts/docs.sh makes today: $found"
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
