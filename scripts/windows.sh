#!/usr/bin/env bash
# Builds the Windows x64 release on this Debian machine and writes dist/dustriders-windows-x64.zip:
# the .exe (static, no DLLs), the two shader files, the generated res/ and README.txt, packed by
# CPack.
# freeglut, GLEW and GLFW are Debian's own source packages cross-built into build-windows/prefix
# once and reused. The assets come from the Linux build (same bytes on both platforms).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=$root/build-windows
prefix=$out/prefix
jobs=$(nproc)
host=x86_64-w64-mingw32
toolchain=$root/cmake/mingw-w64-x86_64.cmake

scripts/install-deps.sh --windows

# The assets and shader files, from the Linux build.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs" --target assets shaders

# ---- libraries: Debian's sources through a private apt configuration ----
# A deb-src line for the archive and suite this machine's apt already uses; its own sources stay
# untouched.
fetchSources() {
    local apt=$out/apt src=$out/src
    mkdir -p "$apt/parts" "$apt/lists/partial" "$src"
    local codename line
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    # The entry for the release itself: named by its codename, else the first without a
    # "-updates" or "-security" suffix (a machine may name it "stable").
    line=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(IDENTIFIER)' |
        awk -v s="$codename" '$3 == "Packages" && $2 == s {print $1, $2; found = 1; exit}
            $3 == "Packages" && $2 !~ /-/ && first == "" {first = $1 " " $2}
            END {if (!found && first != "") print first}')
    [ -n "$line" ] || { echo "no Debian archive in apt's lists" >&2; return 1; }
    echo "deb-src $line main" >"$apt/sources.list"
    local options=(-q -o "Dir::Etc::sourcelist=$apt/sources.list" -o "Dir::Etc::sourceparts=$apt/parts"
        -o "Dir::State::Lists=$apt/lists")
    # apt's download user cannot write into a root-owned private folder.
    [ "$(id -u)" -eq 0 ] && options+=(-o APT::Sandbox::User=root)
    apt-get "${options[@]}" update >/dev/null
    (cd "$src" && apt-get "${options[@]}" source freeglut glew glfw3 >/dev/null 2>&1) || {
        echo "apt-get source freeglut glew glfw3 failed" >&2
        return 1
    }
}

buildLibraries() {
    local src=$out/src work=$out/libs
    rm -rf "$work" "$prefix"
    mkdir -p "$work" "$prefix/lib" "$prefix/include/GL"
    local common=(-DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release
        -DCMAKE_INSTALL_PREFIX="$prefix")
    local freeglut glfw glew
    freeglut=$(find "$src" -maxdepth 1 -type d -name 'freeglut-*' | head -n 1)
    glfw=$(find "$src" -maxdepth 1 -type d -name 'glfw3-*' | head -n 1)
    glew=$(find "$src" -maxdepth 1 -type d -name 'glew-*' | head -n 1)

    cmake -S "$freeglut" -B "$work/freeglut" "${common[@]}" -DFREEGLUT_BUILD_SHARED_LIBS=OFF \
        -DFREEGLUT_BUILD_STATIC_LIBS=ON -DFREEGLUT_BUILD_DEMOS=OFF >/dev/null
    cmake --build "$work/freeglut" -j"$jobs" >/dev/null
    cmake --install "$work/freeglut" >/dev/null

    cmake -S "$glfw" -B "$work/glfw" "${common[@]}" -DBUILD_SHARED_LIBS=OFF \
        -DGLFW_BUILD_EXAMPLES=OFF -DGLFW_BUILD_TESTS=OFF -DGLFW_BUILD_DOCS=OFF >/dev/null
    cmake --build "$work/glfw" -j"$jobs" >/dev/null
    cmake --install "$work/glfw" >/dev/null

    # GLEW's own makefiles want a shell toolchain; its one source file builds directly.
    mkdir -p "$work/glew"
    $host-gcc-posix -O2 -DGLEW_STATIC -DGLEW_NO_GLU -I"$glew/include" -c "$glew/src/glew.c" \
        -o "$work/glew/glew.o"
    $host-ar rcs "$prefix/lib/libglew32.a" "$work/glew/glew.o"
    cp "$glew"/include/GL/*.h "$prefix/include/GL/"
    touch "$prefix/.complete"
}

if [ ! -e "$prefix/.complete" ]; then
    echo "== Windows libraries: freeglut, GLEW, GLFW from Debian sources =="
    fetchSources
    buildLibraries
fi

# ---- the demo ----
cmake -S . -B "$out/demo" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$prefix" -DDUSTRIDERS_RES_DIR="$root/build/run/res" >/dev/null
cmake --build "$out/demo" -j"$jobs"
exe=$out/demo/run/dustriders.exe

# Only Windows' own DLLs may be imported: the zip carries none.
imports=$($host-objdump -p "$exe" | awk '/DLL Name:/ {print tolower($3)}' | sort -u)
for dll in $imports; do
    case $dll in
    kernel32.dll | user32.dll | gdi32.dll | opengl32.dll | glu32.dll | winmm.dll | msvcrt.dll | \
        advapi32.dll | shell32.dll | ole32.dll | imm32.dll | api-ms-win-*) ;;
    *)
        echo "dustriders.exe imports $dll, which Windows does not provide" >&2
        exit 1
        ;;
    esac
done

# ---- the zip: CPack, from the install rules in cmake/packaging.cmake ----
rm -rf "$out/demo/packages"
(cd "$out/demo" && cpack -G ZIP >/dev/null)
mkdir -p dist
cp "$out/demo/packages/dustriders-windows-x64.zip" dist/
echo "Wrote dist/dustriders-windows-x64.zip ($(stat -c %s dist/dustriders-windows-x64.zip) bytes)"
echo "dustriders.exe imports: $(echo "$imports" | tr '\n' ' ')"
