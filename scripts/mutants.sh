#!/usr/bin/env bash
# Mutation check: plants one fault at a time in a scratch copy of the tree (build-mutants/), rebuilds
# incrementally, runs the tests named for that fault under a private Xvfb and says whether they
# caught it. Each fault is an exact text substitution that must match exactly once; one that does
# not (the code has moved on) is reported as NOT APPLIED and skipped.
#   scripts/mutants.sh            every fault
#   scripts/mutants.sh M03 P1     only the faults whose ids start with one of the arguments
# Needs the normal build's dependencies, Xvfb and python3. Not part of CI: it takes a while.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
work=$root/build-mutants
src=$work/src
build=$work/build

ids=() descs=() files=() regexes=() olds=() news=() equivalents=()
# fault ID DESCRIPTION FILE CTEST_REGEX OLD_TEXT NEW_TEXT [WHY_EQUIVALENT]
fault() {
    ids+=("$1") descs+=("$2") files+=("$3") regexes+=("$4") olds+=("$5") news+=("$6")
    equivalents+=("${7:-}")
}

# ---- app ----
fault A1 "0 x 0 rule judged on the new size" app/window.cpp WindowCallbacks \
    'if (windowWidth == 0 && windowHeight == 0)' 'if (width == 0 && height == 0)'
fault A2 "stray exit(0) in the R key" app/window.cpp WindowCallbacks \
    $'if (key == \'R\' || key == \'r\') {' $'if (key == \'R\' || key == \'r\') {\n        exit(0);'
fault A3 "upper-case R ignored" app/window.cpp WindowCallbacks \
    $'if (key == \'R\' || key == \'r\')' $'if (key == \'r\')'
fault A4 "reshape viewport with width and height swapped" app/window.cpp WindowCallbacks \
    'glViewport(0, 0, windowWidth, windowHeight);' 'glViewport(0, 0, windowHeight, windowWidth);'
fault A5 "desert row's x and z turns swapped" app/sceneInit.cpp SceneInit \
    '-10, 20, -150, 2700, 0, 900}' '-10, 20, -150, 900, 0, 2700}'
fault A6 "rake row's y turn off by one step" app/sceneInit.cpp SceneInit \
    '100, 25, -60, 0, 450, 225}' '100, 25, -60, 0, 451, 225}'
fault A7 "particle image and mask swapped" app/sceneInit.cpp SceneInit \
    'particleMaskTexture = (float)loadRawTexture("res/particle_mask.raw"' \
    'particleMaskTexture = (float)loadRawTexture("res/particle.raw"'
fault A8 "light turned about x the other way" app/sceneInit.cpp SceneInit \
    'lightRotate(800, 0, -1800);' 'lightRotate(-800, 0, -1800);'
fault A9 "light's z turn given as +1800" app/sceneInit.cpp SceneInit \
    'lightRotate(800, 0, -1800);' 'lightRotate(800, 0, 1800);' \
    "-1800 wraps to table entry 1800, the same entry +1800 uses: the same matrix bit for bit"
fault A10 "camera's start turn about y instead of x" app/sceneInit.cpp SceneInit \
    'cameraRotate(240, 0, 0);' 'cameraRotate(0, 240, 0);'
fault A11 "edge scroll to the left turns right" app/pointerInput.cpp PointerInput \
    $'cameraRotate(0, -EDGE_TURN, 0);\n        billboardAngles[1] -= EDGE_TURN;' \
    $'cameraRotate(0, EDGE_TURN, 0);\n        billboardAngles[1] -= EDGE_TURN;'
fault A12 "white texture for objects without a bitmap not made at start-up" app/sceneInit.cpp \
    "SceneInit|TestScene" 'createWhiteTexture();' '(void)0;'

# ---- math ----
fault M1 "z turn in the wrong direction" math/transforms.cpp "Transforms|AddSceneObject" \
    $'out[1] = s;\n        out[4] = -s;' $'out[1] = -s;\n        out[4] = s;'
fault M2 "x turn in the wrong direction" math/transforms.cpp "Transforms|AddSceneObject" \
    $'out[6] = s;\n        out[9] = -s;' $'out[6] = -s;\n        out[9] = s;'
fault M3 "y turn in the wrong direction" math/transforms.cpp "Transforms|AddSceneObject" \
    $'out[2] = -s;\n        out[8] = s;' $'out[2] = s;\n        out[8] = -s;'
fault M4 "light turned in its local frame" math/transforms.cpp "Transforms|SceneInit" \
    'applyTurns(lightMatrix, ax, ay, az, false);' 'applyTurns(lightMatrix, ax, ay, az, true);'
fault M5 "camera turned in its local frame" math/transforms.cpp "Transforms" \
    'applyTurns(cameraMatrix, ax, ay, az, false);' 'applyTurns(cameraMatrix, ax, ay, az, true);'
fault M6 "turns applied z, y, x" math/transforms.cpp "Transforms|AddSceneObject" \
    'for (int axis = 0; axis < 3; axis++) {' 'for (int axis = 2; axis >= 0; axis--) {'
fault M7 "negative angle wrapped one step short" math/transforms.cpp "Transforms" \
    'angle += ANGLE_STEPS;' 'angle += ANGLE_STEPS - 1;'
fault M8 "local move multiplied on the wrong side" math/transforms.cpp "Transforms|Choreography" \
    'matMultiply(l_matrix, obj.matrix, l_res);' 'matMultiply(obj.matrix, l_matrix, l_res);'
fault M9 "matrix product with its operands swapped" math/matrix.cpp "MatMultiply|Transforms" \
    'sum += a[i * 4 + k] * b[k * 4 + j];' 'sum += b[i * 4 + k] * a[k * 4 + j];'
fault M10 "identity without its w" math/matrix.cpp "MatCopy|Transforms" \
    'm[0] = m[5] = m[10] = m[15] = 1.0f;' 'm[0] = m[5] = m[10] = 1.0f;'
fault M11 "angle tables with full-precision pi" math/angleTables.cpp "AngleTables|Transforms" \
    'double angle = i * 3.1415 / 1800;' 'double angle = i * 3.14159265358979 / 1800;'
fault M12 "cross product's y with the wrong sign" math/vector.h "VectorHelpers|VertexNormals" \
    'out.y = a.z * b.x - a.x * b.z;' 'out.y = a.x * b.z - a.z * b.x;'
fault M13 "difference taken first minus second" math/vector.h "VectorHelpers|VertexNormals" \
    'out.x = b.x - a.x;' 'out.x = a.x - b.x;'
fault M14 "camera move subtracts its y" math/transforms.cpp "Transforms|Choreography|PointerInput" \
    'cameraMatrix[13] += dy;' 'cameraMatrix[13] -= dy;'

# ---- scene ----
fault S1 "face normals left unnormalised" scene/vertexNormals.cpp VertexNormals \
    $'vecCross(l_vect_b1, l_vect_b2, l_normal);\n        vecNormalize(l_normal);' \
    'vecCross(l_vect_b1, l_vect_b2, l_normal);'
fault S2 "vertex normal not divided by its count" scene/vertexNormals.cpp VertexNormals \
    'normals[v].x /= count;' 'normals[v].x /= 1.0f;'
fault S3 "second edge taken to b" scene/vertexNormals.cpp VertexNormals \
    'vecSubtractNormalized(vertices[tri.a], vertices[tri.c], l_vect_b2);' \
    'vecSubtractNormalized(vertices[tri.a], vertices[tri.b], l_vect_b2);'
fault S4 "turn arguments passed z, y, x" scene/addSceneObject.cpp "AddSceneObject|SceneInit" \
    'objectRotate(*slot, angleX, angleY, angleZ);' 'objectRotate(*slot, angleZ, angleY, angleX);'
fault S5 "turn applied before the position" scene/addSceneObject.cpp "AddSceneObject|SceneInit" \
    $'objectSetPosition(*slot, x, y, z);\n    objectRotate(*slot, angleX, angleY, angleZ);' \
    $'objectRotate(*slot, angleX, angleY, angleZ);\n    objectSetPosition(*slot, x, y, z);' \
    "a turn multiplies on the right (M * R) and leaves elements 12..14 alone, and setting the position writes only those: either order gives the same matrix"
fault S6 "loaded object not counted" scene/addSceneObject.cpp "AddSceneObject|SceneInit" \
    '    objectCount++;' '    (void)objectCount;'
fault S7 "bitmaps without mipmaps" scene/textureLoaders.cpp TextureState \
    $'    gluBuild2DMipmaps(GL_TEXTURE_2D, 4, image.width, image.height, GL_RGBA, GL_UNSIGNED_BYTE,\n                      image.pixels);\n' ''
fault S8 "raw image's minifying filter nearest" scene/textureLoaders.cpp TextureState \
    'glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);' \
    'glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);'
fault S9 "bitmap wrap s clamped" scene/textureLoaders.cpp TextureState \
    'glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);' \
    'glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);'
fault S10 "bitmap magnifying filter nearest" scene/textureLoaders.cpp TextureState \
    'glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);' \
    'glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);'
fault S11 "bitmap environment mode left out" scene/textureLoaders.cpp TextureState \
    '    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);' ''
fault S12 "raw image's environment mode replace" scene/textureLoaders.cpp TextureState \
    'glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);' \
    'glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);'
fault S13 "missing raw file reported" scene/textureLoaders.cpp TextureState \
    $'    if (!readFileBytes(path, &data, &size))\n        return 0;' \
    $'    if (!readFileBytes(path, &data, &size)) {\n        showErrorBox("Orbitex", "Texture not found", path);\n        return 0;\n    }'
fault S14 "cut-off vertex list stores the header's count" scene/load3ds.cpp Load3ds \
    'object->vertexCount = (int)count;' 'object->vertexCount = (int)readU16(data + *pos);'
fault S15 "mapping list cut at the vertex count" scene/load3ds.cpp Load3ds \
    '        memcpy(object->texCoords, records, count * sizeof(TexCoord2f));' \
    '        memcpy(object->texCoords, records, (count < (size_t)object->vertexCount ? count : (size_t)object->vertexCount) * sizeof(TexCoord2f));'
fault S16 "eye left inside the sand" app/eyeOverSand.cpp "AnEyeGrazing|EveryShot.*(At144|Seed1)" \
    '    if (lift > 0)' '    if (lift > 1e9f)'

# ---- render and shaders ----
fault R1 "sky colour not set by the frame" render/frame.cpp SkyClear \
    'glClearColor(SKY_COLOUR[0], SKY_COLOUR[1], SKY_COLOUR[2], SKY_COLOUR[3]);' \
    'glClearColor(SKY_COLOUR[0], SKY_COLOUR[1], SKY_COLOUR[2], 1.0f);'
fault R2 "frame leaves depth writes on for the particles" render/frame.cpp "ParticleDrawing|RealScene" \
    $'    glDepthMask(GL_FALSE);\n    updateParticles();' '    updateParticles();' \
    "drawParticles switches depth writes off itself before its first square, so the frame's own call changes nothing"
fault R3 "depth texture minified linearly" render/shadowTarget.cpp DepthTarget \
    'glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);' \
    'glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);'
fault R4 "depth texture magnified linearly" render/shadowTarget.cpp DepthTarget \
    'glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);' \
    'glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);'
fault R5 "depth texture repeats along t" render/shadowTarget.cpp DepthTarget \
    'glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);' \
    'glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);'
fault R6 "depth texture with a comparison mode" render/shadowTarget.cpp DepthTarget \
    '    // No comparison mode: the shader reads the stored depth and compares itself.' \
    '    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_R_TO_TEXTURE);'
fault R7 "shadow framebuffer keeps its draw buffer" render/shadowTarget.cpp DepthTarget \
    '    glDrawBuffer(GL_NONE);' ''
fault R8 "shadow framebuffer keeps its read buffer" render/shadowTarget.cpp DepthTarget \
    '    glReadBuffer(GL_NONE);' ''
fault R9 "shader file read two bytes short" render/shaderLoading.cpp "ShaderSource|ShaderLoading" \
    'size_t count = fread(buffer, 1, SHADER_SOURCE_CAPACITY, file);' \
    'size_t count = fread(buffer, 1, SHADER_SOURCE_CAPACITY - 2, file);'
fault R10 "fragment shader not attached" render/shaderLoading.cpp "ShaderLoading|RealScene|TestScene" \
    '    e.attachObjectARB(shadowProgram, fragmentShader);' ''
fault R11 "framebuffer names made by the wrong entry point" render/extensionEntryPoints.cpp \
    "DepthTarget|SceneInit" \
    'bindEntryPoint("glGenFramebuffersEXT", framebuffer, e.genFramebuffersEXT);' \
    'bindEntryPoint("glDeleteFramebuffersEXT", framebuffer, e.genFramebuffersEXT);'
fault R12 "shader program files joined with a bare newline" render/shaderProgram.cpp ShaderProgram \
    'buffer += "\r\n";' 'buffer += "\n";'
fault R14 "shader objects kept after linking" render/shaderProgram.cpp ShaderProgram \
    $'    for (int i = 0; i < SHADER_SLOTS; i++)\n        glDeleteShader(shaderIds[i]);' ''
fault R15 "first slot attached twice" render/shaderProgram.cpp ShaderProgram \
    'glAttachShader(programId, shaderIds[i]);' 'glAttachShader(programId, shaderIds[0]);'
fault R13 "slope-scaled shadow bias left out" shaders/FragmentShader.c "TestScene|RealScene|SlopeBias" \
    'const float SLOPE_BIAS_TEXELS = 1.5;' 'const float SLOPE_BIAS_TEXELS = 0.0;'
fault R16 "grazing light not lifted toward the light from above" shaders/FragmentShader.c \
    "EveryShot.*At60" 'const float OVERHEAD_LIGHT = 0.9;' 'const float OVERHEAD_LIGHT = 0.0;'

# ---- particles ----
fault P1 "spread draws 0 .. 10" particles/particles.cpp Particle \
    'return ((r1 * 2) % 11 + 1) * r2 % 11 + 1;' 'return ((r1 * 2) % 11 + 1) * r2 % 11;'
fault P2 "spread's two draws swapped" particles/particles.cpp Particle \
    $'    int r1 = particleRandom();\n    int r2 = particleRandom();\n    return ((r1 * 2)' \
    $'    int r2 = particleRandom();\n    int r1 = particleRandom();\n    return ((r1 * 2)'
fault P3 "respawn resets only the height" particles/particles.cpp Particle \
    $'            resetAtEmitter(p);\n            drawHorizontalSpeeds(p);' \
    $'            p.y = EMITTER_Y;\n            drawHorizontalSpeeds(p);'
fault P4 "< instead of <= at the spread height" particles/particles.cpp Particle \
    'if (p.y <= SPREAD_HEIGHT)' 'if (p.y < SPREAD_HEIGHT)'
fault P5 ">= instead of > at the respawn height" particles/particles.cpp Particle \
    'if (p.y > EMITTER_Y)' 'if (p.y >= EMITTER_Y)'
fault P6 "respawn resets the size" particles/particles.cpp Particle \
    $'            p.yPull = START_Y_PULL;\n' $'            p.yPull = START_Y_PULL;\n            p.size = START_SIZE;\n'
fault P7 "start speeds drawn z before x" particles/particles.cpp Particle \
    $'    p.xSpeed = horizontalSpeed();\n    p.zSpeed = horizontalSpeed();' \
    $'    p.zSpeed = horizontalSpeed();\n    p.xSpeed = horizontalSpeed();'
fault P8 "start vertical steps modulo 14" particles/particles.cpp Particle \
    'verticalSpeedSteps(15) * 0.0005' 'verticalSpeedSteps(14) * 0.0005'
fault P9 "generator starts from state 2" particles/particleRandom.cpp ParticleStart \
    'static uint32_t randomState = 1;' 'static uint32_t randomState = 2;'
fault P10 "particles' z turn in tenths" particles/particleDraw.cpp ParticleDrawing \
    'glRotatef(-billboardAngles[2] / 100, 0, 0, 1);' 'glRotatef(-billboardAngles[2] / 10, 0, 0, 1);'
fault P11 "particles' x turn not undone" particles/particleDraw.cpp ParticleDrawing \
    'glRotatef(-billboardAngles[0] / 10, 1, 0, 0);' 'glRotatef(billboardAngles[0] / 10, 1, 0, 0);'
fault P12 "particles' y turn before the x turn" particles/particleDraw.cpp ParticleDrawing \
    $'    glRotatef(-billboardAngles[0] / 10, 1, 0, 0);\n    glRotatef(-billboardAngles[1] / 10, 0, 1, 0);' \
    $'    glRotatef(-billboardAngles[1] / 10, 0, 1, 0);\n    glRotatef(-billboardAngles[0] / 10, 1, 0, 0);'
fault P13 "particles drawn at the start size" particles/particleDraw.cpp ParticleDrawing \
    'glScalef((float)p.size, (float)p.size, (float)p.size);' 'glScalef(0.35f, 0.35f, 0.35f);'
fault P14 "texture coordinates of one corner swapped" particles/particleDraw.cpp ParticleDrawing \
    'glTexCoord2f(1, 0);' 'glTexCoord2f(0, 1);'
fault P15 "particles bind the mask" particles/particleDraw.cpp ParticleDrawing \
    'glBindTexture(GL_TEXTURE_2D, texture);' 'glBindTexture(GL_TEXTURE_2D, (GLuint)particleMaskTexture);'
fault P16 "depth test not switched on" particles/particleDraw.cpp ParticleDrawing \
    $'    glEnable(GL_DEPTH_TEST);\n    glPopMatrix();' '    glPopMatrix();'
fault P17 "depth writes not switched off" particles/particleDraw.cpp ParticleDrawing \
    $'    glDisable(GL_LIGHTING);\n    glDepthMask(GL_FALSE);' '    glDisable(GL_LIGHTING);'
fault P18 "particles blended over the scene, not added to it" particles/particleDraw.cpp \
    ParticleDrawing \
    'glBlendFunc(GL_SRC_ALPHA, GL_ONE);' 'glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);'

fault P19 "red and blue swapped on the way to GL" particles/particleDraw.cpp ParticleDrawing \
    'glColor4f((float)p.red, (float)p.green, (float)p.blue' \
    'glColor4f((float)p.blue, (float)p.green, (float)p.red'

# ---- demo ----
fault D1 "cut to the far side translated to the mirror side" demo/choreography.cpp Choreography \
    'cutCamera(-330, -50, -30, 0, -550, 0);' 'cutCamera(330, -50, -30, 0, -550, 0);'
fault D2 "phase bound 9 moved to 10" demo/choreography.cpp Choreography \
    '{9,  0,        lowerView,' '{10, 0,        lowerView,'
fault D3 "phase bound 15 moved to 14" demo/choreography.cpp Choreography \
    '{15, NO_SETUP, nullptr,          birdFliesAway,' '{14, NO_SETUP, nullptr,          birdFliesAway,'
fault D4 "phase bound 24 moved to 25" demo/choreography.cpp Choreography '{24, 6,' '{25, 6,'
fault D5 "phase bound 3 moved to 2" demo/choreography.cpp Choreography \
    '{3,  NO_SETUP, nullptr,          rakeBack,' '{2,  NO_SETUP, nullptr,          rakeBack,'
fault D6 "rake not put back at 9 s" demo/choreography.cpp Choreography \
    $'    billboardAngles[1] += -550.0;\n    resetRake();' '    billboardAngles[1] += -550.0;'
fault D7 "rake not put back at 7 s" demo/choreography.cpp Choreography \
    $'    cameraTranslate(0, -22, 0);\n    resetRake();' '    cameraTranslate(0, -22, 0);'
fault D8 "cut to the wagon translated upward" demo/choreography.cpp Choreography \
    'cutCamera(45, -30, -40, 0, 0, 0);' 'cutCamera(45, 30, -40, 0, 0, 0);'
fault D9 "cut behind the scene turned by -1800" demo/choreography.cpp Choreography \
    'cutCamera(-60, -30, 40, 0, 1800, 0);' 'cutCamera(-60, -30, 40, 0, -1800, 0);' \
    "-1800 wraps to table entry 1800: the same turn"
fault D10 "bird's dive comes after the cut" demo/choreography.cpp Choreography \
    '{17, 3,        cutToAbove,       birdDives,       true},' \
    '{17, 3,        cutToAbove,       birdDives,       false},' \
    "the bird's move and the camera cut touch different matrices, so their order within the frame changes nothing"
fault D11 "setup flag never set" demo/choreography.cpp Choreography \
    '            phaseSetupDone[phase.setupIndex] = true;' '            (void)phase.setupIndex;'
fault D12 "final swing turns the other way" demo/choreography.cpp Choreography \
    'cameraRotate(0, -900, 0);' 'cameraRotate(0, 900, 0);'
fault D13 "elapsed seconds rounded up" demo/clock.cpp Choreography \
    'elapsedSeconds = (int)seconds;' 'elapsedSeconds = (int)seconds + 1;'
fault D14 "cut above keeps the z billboard angle at 0" demo/choreography.cpp Choreography \
    'setBillboardAngles(900, 0, -27000);' 'setBillboardAngles(900, 0, 0);'

# ---- small visible faults only the golden shots see ----
fault G1 "a cactus standing 20 units from its place" app/sceneInit.cpp GoldenShots \
    '120, 18, -45, 0, 0, 0}' '140, 18, -45, 0, 0, 0}'
fault G2 "the rake's first rock runs the wrong way" demo/choreography.cpp GoldenShots \
    'moveRake(-0.2f, 0, -0.2f);' 'moveRake(0.2f, 0, 0.2f);'
fault G3 "the fountain 20 units from its place" particles/particles.cpp GoldenShots \
    'EMITTER_X = 60.0;' 'EMITTER_X = 80.0;'

# ---- selection ----
selected() {
    [ ${#wanted[@]} -eq 0 ] && return 0
    local id=$1
    for prefix in "${wanted[@]}"; do
        [[ "$id" == "$prefix"* ]] && return 0
    done
    return 1
}
wanted=("$@")

# Replaces the one occurrence of old by new in file; exit status 2 when it is not exactly one.
substitute() {
    python3 - "$1" "$2" "$3" <<'EOF'
import sys
path, old, new = sys.argv[1:4]
text = open(path, encoding="utf-8").read()
if text.count(old) != 1:
    print(text.count(old))
    sys.exit(2)
open(path, "w", encoding="utf-8").write(text.replace(old, new, 1))
EOF
}

# ---- scratch tree and build ----
mkdir -p "$work"
rm -rf "$src"
mkdir -p "$src"
# tar keeps modification times, so an unchanged file does not rebuild. A file that an earlier run
# mutated comes back with its old time while its object file is newer: touch those.
tar --exclude='./build*' --exclude='./.git' --exclude='./out' -cf - . | tar -xf - -C "$src"
if [ -f "$work/mutated.list" ]; then
    while read -r file; do
        [ -f "$src/$file" ] && touch "$src/$file"
    done <"$work/mutated.list"
fi
: >"$work/mutated.list"
echo "building the scratch copy in $build ..."
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$work/configure.log" 2>&1 ||
    { echo "configure failed: $work/configure.log"; exit 1; }
cmake --build "$build" -j2 --target dustRidersTests >"$work/build.log" 2>&1 ||
    { echo "the unchanged tree does not build: $work/build.log"; exit 1; }

# shellcheck source=lib/xvfb.sh
source "$src/scripts/lib/xvfb.sh"
startXvfb
# Without a fault every test must pass, or "caught" would mean nothing.
if ! (cd "$build" && ctest -j2 --timeout 60 -LE e2e >"$work/baseline.log" 2>&1); then
    echo "the unchanged tree fails its tests: $work/baseline.log"
    exit 1
fi

caught=0 survived=0 notApplied=0 equivalent=0
for i in "${!ids[@]}"; do
    selected "${ids[$i]}" || continue
    id=${ids[$i]} file=${files[$i]}
    label=$(printf '%-4s %-60s' "$id" "${descs[$i]}")
    cp -p "$src/$file" "$work/original" 2>/dev/null || { echo "$label NOT APPLIED (no $file)"; notApplied=$((notApplied + 1)); continue; }
    echo "$file" >>"$work/mutated.list"
    if ! substitute "$src/$file" "${olds[$i]}" "${news[$i]}" >/dev/null; then
        echo "$label NOT APPLIED (text not found exactly once in $file)"
        notApplied=$((notApplied + 1))
        continue
    fi
    if ! cmake --build "$build" -j2 --target dustRidersTests >"$work/$id.build.log" 2>&1; then
        echo "$label NOT APPLIED (does not build, see $work/$id.build.log)"
        notApplied=$((notApplied + 1))
    else
        count=$(cd "$build" && ctest -N -R "${regexes[$i]}" | sed -n 's/^Total Tests: //p')
        if [ "${count:-0}" -eq 0 ]; then
            echo "$label NOT APPLIED (no test matches ${regexes[$i]})"
            notApplied=$((notApplied + 1))
        elif (cd "$build" && ctest -j2 --timeout 60 -R "${regexes[$i]}" >"$work/$id.test.log" 2>&1); then
            if [ -n "${equivalents[$i]}" ]; then
                echo "$label equivalent: ${equivalents[$i]}"
                equivalent=$((equivalent + 1))
            else
                echo "$label SURVIVED ($count tests: ${regexes[$i]})"
                survived=$((survived + 1))
            fi
        else
            failed=$(grep -c '(Failed)\|(Timeout)\|(SEGFAULT)\|(Subprocess aborted)' "$work/$id.test.log")
            echo "$label caught ($failed of $count failed)"
            caught=$((caught + 1))
        fi
    fi
    # Restored with a fresh time stamp, so the next build recompiles it unmutated.
    cp "$work/original" "$src/$file"
    touch "$src/$file"
done
echo "mutants: $caught caught, $survived survived, $notApplied not applied, $equivalent equivalent"
