#!/usr/bin/env bash
# The Linux release files as a user meets them, on a private display:
#   - dist/dustriders_*.deb: lintian finds no error; its Depends names the package of every library
#     the binary needs; "apt-get install ./…deb" pulls in what it needs; the menu entry validates,
#     names an icon that exists in every size, and its command, run from another folder on a PATH
#     without /usr/games, shows the scene and Escape ends it with 0; after removal nothing of the
#     package is left;
#   - dist/dustriders-linux-x64.tar.gz: unpacked and started with one command, the same checks.
# Needs root (or sudo) for apt. Packages it installs, the .deb and what apt pulled in with it, are
# removed again whatever happens; a machine that has dustriders installed already is refused
# untouched.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
# shellcheck source=tests/e2e/common.bash
source tests/e2e/common.bash # the display; TITLE, fail, onExit, assertExitStatus, topRowsAreSky

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
# Through env: sudo drops the caller's environment.
aptGet() { $SUDO env DEBIAN_FRONTEND=noninteractive apt-get "$@"; }
debs=(dist/dustriders_*.deb)
tarball=dist/dustriders-linux-x64.tar.gz
if [ ! -e "${debs[0]}" ] || [ ! -e "$tarball" ]; then
    fail "no .deb or tarball in dist/: run scripts/release.sh"
fi
[ "${#debs[@]}" -eq 1 ] || fail "more than one .deb in dist/: ${debs[*]}"
deb=$root/${debs[0]}
if dpkg-query -W -f='${Status}' dustriders 2>/dev/null | grep -q "ok installed"; then
    fail "dustriders is installed on this machine already; remove it before this test"
fi

shots=$root/build/install-screens
rm -rf "$shots"
mkdir -p "$shots"
work=$(mktemp -d)
elsewhere=$work/elsewhere # a folder without the demo's files
mkdir -p "$elsewhere"
installedPackages() { dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' | awk '$1 == "ii" {print $2}' | sort; }
installedPackages >"$work/before"

# Whatever happened: the demo stopped, dustriders purged if it is installed, and then the packages
# of $work/added: those installed right after the install that were not at the test's start. A
# package something else installs later stays; one it installed while this test ran up to then is
# in that list and goes too. Before the install there is no list, and only dustriders is purged.
# No set -e here: a step that fails must not skip the ones after it.
cleanUp() {
    set +e
    if [ -n "${DEMO_PID:-}" ]; then
        kill -- "-$DEMO_PID" 2>/dev/null
    fi
    if dpkg-query -W -f='${Status}' dustriders 2>/dev/null | grep -q "ok installed"; then
        aptGet purge -y -q dustriders >/dev/null 2>&1 || echo "could not remove dustriders" >&2
    fi
    local added
    added=$(grep -vx dustriders "$work/added" 2>/dev/null)
    if [ -n "$added" ]; then
        # shellcheck disable=SC2086
        aptGet purge -y -q $added >/dev/null 2>&1 || echo "could not remove: $added" >&2
    fi
    rm -rf "$work"
}
onExit cleanUp

# One start for checkStartsScene: the shell command $2 from $elsewhere in its own process group,
# its output in $1; true once its window shows.
showWindowFrom() {
    local shown=0
    (cd "$elsewhere" && exec setsid sh -c "$2") >"$1" 2>&1 &
    DEMO_PID=$!
    waitForWindow "$TITLE" "$DEMO_PID" 30 || shown=$?
    [ "$shown" -eq 0 ] && return 0
    [ "$shown" -eq 2 ] && fail "no window titled '$TITLE' from: $2"
    wait "$DEMO_PID" 2>/dev/null || true
    DEMO_PID=""
    return 1
}

# Runs the shell command $2 from $elsewhere in its own process group and checks that the titled
# window shows the scene (sky in the top rows once the script looks up, not one flat colour) and
# that Escape ends it with status 0. $1 names the screenshot.
checkStartsScene() {
    local log=$work/$1.log shot=$shots/$1.png
    local status=0
    startWhileRefused "$log" showWindowFrom "$log" "$2" || status=$?
    case $status in
    0) ;;
    1) fail "$1: ended before its window appeared: $(cat "$log")" ;;
    *) fail "$1: the display refused the demo $DISPLAY_TRIES times" ;;
    esac
    local sawSky=0 second
    for second in $(seq 1 40); do
        sleep 1
        kill -0 "$DEMO_PID" 2>/dev/null || fail "$1: ended after $second s: $(cat "$log")"
        import -window "$WINDOW" "$shot" || fail "$1: no screenshot of the window"
        if topRowsAreSky "$shot"; then
            sawSky=1
            break
        fi
    done
    [ "$sawSky" -eq 1 ] || fail "$1: no screenshot with the sky in its top rows ($shot)"
    local spread
    spread=$(convert "$shot" -colorspace gray -format "%[fx:standard_deviation]" info:)
    awk -v s="$spread" 'BEGIN { exit !(s > 0.05) }' || fail "$1: window nearly uniform ($shot)"
    pressEscape "$WINDOW" || fail "$1: cannot send Escape: $(cat "$log")"
    assertExitStatus 0 10
    echo "PASS $1: the scene after $second s, Escape ends it with 0 ($shot)"
}

echo "-- lintian $(basename "$deb")"
lintianStatus=0
lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 || lintianStatus=$?
grep -v "running with root privileges" "$work/lintian.log" || true
[ "$lintianStatus" -eq 0 ] || fail "lintian reports errors"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"

# Each library the binary needs comes from a package that Depends names: the build machine has
# them all, so installing here would not notice one missing.
dpkg-deb -x "$deb" "$work/unpacked"
binary=$work/unpacked/usr/lib/games/dustriders/dustriders
[ -f "$binary" ] || fail "no /usr/lib/games/dustriders/dustriders in the package"
dependsOn=$(tr ',|' '\n\n' <<<"$depends" | awk 'NF {print $1}')
libraries=$(objdump -p "$binary" | awk '$1 == "NEEDED" {print $2}')
for library in $libraries; do
    # awk reads to the end: leaving early closed the pipe on ldconfig, whose SIGPIPE (under
    # pipefail and set -e) ended the test with no message on a loaded machine.
    path=$(ldconfig -p | awk -v l="$library" '$1 == l && /x86-64/ && !found {print $NF; found = 1}')
    [ -n "$path" ] || fail "$library, which the binary needs, is not on this machine"
    owner=""
    # dpkg knows each file under one of the two names that a merged /usr gives it.
    for candidate in "$path" "/usr$path" "${path#/usr}" "$(readlink -f "$path")"; do
        owner=$(dpkg -S "$candidate" 2>/dev/null | head -n 1 | cut -d: -f1) && [ -n "$owner" ] && break
    done
    [ -n "$owner" ] || fail "no package owns $path ($library)"
    grep -qxF "$owner" <<<"$dependsOn" || fail "Depends does not name $owner, which holds $library"
done
echo "PASS Depends names the package of each of the $(wc -w <<<"$libraries") libraries the binary needs"

# Every path the package brings, and those of them that exist before it does.
dpkg-deb -c "$deb" | awk '{print substr($6, 2)}' | sed 's|/$||' | grep . >"$work/paths"
while read -r path; do
    [ -e "$path" ] && echo "$path"
done <"$work/paths" >"$work/existing"

echo "-- apt-get install $(basename "$deb")"
installStatus=0
aptGet install -y -q "$deb" >"$work/apt.log" 2>&1 || installStatus=$?
installedPackages | comm -13 "$work/before" - >"$work/added"
[ "$installStatus" -eq 0 ] || fail "apt-get install failed: $(tail -n 5 "$work/apt.log")"
echo "new packages: $(tr '\n' ' ' <"$work/added")"

# The menu entry and its icon.
desktop=/usr/share/applications/dustriders.desktop
[ -f "$desktop" ] || fail "no $desktop"
desktop-file-validate "$desktop" || fail "$desktop does not validate"
grep -qx "Categories=.*Game;.*" "$desktop" || fail "$desktop is not in the Game category"
# A menu may start it with a PATH that lacks /usr/games: the command's full path, which the start
# below runs with such a PATH.
exec=$(sed -n 's/^Exec=//p' "$desktop" | sed 's/ %[a-zA-Z]//g')
command=${exec%% *}
[ "$command" = /usr/games/dustriders ] || fail "the menu entry runs '$command', not /usr/games/dustriders"
icon=$(sed -n 's/^Icon=//p' "$desktop")
sizes=0
for file in /usr/share/icons/hicolor/*/apps/"$icon".png; do
    [ -f "$file" ] || fail "no icon named '$icon' under /usr/share/icons/hicolor"
    folder=$(basename "$(dirname "$(dirname "$file")")")
    [ "$(identify -format %wx%h "$file")" = "$folder" ] || fail "$file is not $folder"
    sizes=$((sizes + 1))
done
[ -f "/usr/share/icons/hicolor/48x48/apps/$icon.png" ] || fail "no 48x48 icon (menus' usual size)"
spread=$(convert "/usr/share/icons/hicolor/48x48/apps/$icon.png" -colorspace gray \
    -format "%[fx:standard_deviation]" info:)
awk -v s="$spread" 'BEGIN { exit !(s > 0.05) }' || fail "the icon is one flat colour"
echo "PASS the menu entry validates; icon '$icon' in $sizes sizes"

checkStartsScene deb-installed "PATH=/usr/local/bin:/usr/bin:/bin; $exec"

echo "-- apt-get purge dustriders"
aptGet purge -y -q dustriders >"$work/apt.log" 2>&1 || fail "apt-get purge failed"
left=$(while read -r path; do
    [ -e "$path" ] && ! grep -qxF "$path" "$work/existing" && echo "$path"
done <"$work/paths" || true)
[ -z "$left" ] || fail "left behind after removal: $left"
echo "PASS removal leaves none of its $(wc -l <"$work/paths") paths"

echo "-- $tarball"
checkStartsScene tarball "tar -xzf '$root/$tarball' && dustriders-linux-x64/start.sh"
