#include <GL/glew.h>
#include <GL/freeglut.h>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

#include "app/sceneInit.h"
#include "app/window.h"
#include "demo/choreography.h"
#include "math/matrix.h"
#include "math/transforms.h"
#include "particles/particleRandom.h"
#include "particles/particles.h"
#include "app/frameLoop.h"
#include "render/frame.h"
#include "render/renderPasses.h"
#include "render/shaderLoading.h"
#include "render/shadowTarget.h"
#include "render/unshadowedProgram.h"
#include "scene/sceneStore.h"
#include "scene/textureLoaders.h"
#include "tests/glFixture.h"
#include "tests/renderSceneSupportTest.h"

namespace {

// Scene initialised once per process; every test starts from the start camera and light.
class RenderFrame : public GlTest {
  protected:
    void SetUp() override {
        static bool initialised = false;
        static Mat4 startCamera, startLight;
        windowWidth = 640;
        windowHeight = 480;
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        if (!initialised) {
            initSceneAsAtStart();
            matCopy(startCamera, cameraMatrix);
            matCopy(startLight, lightMatrix);
            initialised = true;
        }
        matCopy(cameraMatrix, startCamera);
        matCopy(lightMatrix, startLight);
        if (wireframeOff == 0)
            keyboardInput('r', 0, 0);
    }
};

class RealScene : public RenderFrame {
  protected:
    void SetUp() override {
        if (!std::filesystem::exists("res/desert.3ds"))
            GTEST_FAIL() << "generated res/ missing: the build writes it into the run directory";
        RenderFrame::SetUp();
        // Other tests of the process may have replaced the table with their own scene.
        if (objectCount != SCENE_LIST_ROWS)
            initSceneAsAtStart();
        ASSERT_EQ(objectCount, SCENE_LIST_ROWS);
    }
};

class TestScene : public RenderFrame {
  protected:
    void SetUp() override {
        RenderFrame::SetUp();
        buildTestScene();
        tallBox = addTestBox(60, -110, 20, 100, 20);
        addTestBox(140, -90, 30, 30, 30);
        // Above and behind the boxes, looking down on them and their shadows.
        cameraTranslate(0, -150, -100);
        cameraRotate(300, 0, 0);
    }
    int tallBox = 0;
};

// The object whose shadow covers most ground samples; -1 when none does.
int largestShadowCaster(const std::vector<GroundSample>& samples) {
    std::vector<int> counts(objectCount, 0);
    for (const GroundSample& s : samples)
        if (s.shadowedBy > 0)
            counts[s.shadowedBy]++;
    int best = std::max_element(counts.begin(), counts.end()) - counts.begin();
    return counts.empty() || counts[best] == 0 ? -1 : best;
}

// Shadowed ground of `caster` against lit ground in the same region of the image.
void expectShadowClearlyDarker(const CapturedFrame& frame, const std::vector<GroundSample>& samples,
                               int caster) {
    ShadowAndLit ground = shadowAndLitGround(frame, samples, caster);
    const std::vector<double>& shadowed = ground.shadowed;
    const std::vector<double>& lit = ground.lit;
    ASSERT_GE(shadowed.size(), 10u) << "too little visible shadow of object " << caster;
    ASSERT_GE(lit.size(), 10u) << "no lit ground next to the shadow of object " << caster;
    double litLevel = median(lit);
    EXPECT_LT(median(shadowed), 0.7 * litLevel) << "shadow of object " << caster;
    // Light leaking under the object would leave bright samples inside its shadow.
    int bright = std::count_if(shadowed.begin(), shadowed.end(),
                               [&](double v) { return v > 0.85 * litLevel; });
    EXPECT_LE(bright, (int)shadowed.size() / 20)
        << bright << " of " << shadowed.size() << " shadowed samples are lit";
}

// Lit ground must look exactly as without any shadow lookup: acne would darken it.
void expectLitGroundUntouched(const CapturedFrame& frame,
                              const std::vector<GroundSample>& samples) {
    CapturedFrame reference = renderAndCaptureUnshadowed();
    int lit = 0, darkened = 0;
    for (const GroundSample& s : samples) {
        if (s.shadowedBy != -1)
            continue;
        lit++;
        if (luminance(frame, s.x, s.y) < luminance(reference, s.x, s.y) - 2.0)
            darkened++;
    }
    ASSERT_GT(lit, 100);
    EXPECT_LE(darkened, lit / 100) << darkened << " of " << lit << " lit ground samples darkened";
}

void expectSkyInTopRows(const CapturedFrame& frame) {
    const int rows = 8;
    int sky = 0;
    for (int y = frame.height - rows; y < frame.height; y++) {
        for (int x = 0; x < frame.width; x++) {
            const unsigned char* p = &frame.rgb[((size_t)y * frame.width + x) * 3];
            sky += isSkyPixel(p);
        }
    }
    EXPECT_GE(sky, rows * frame.width * 9 / 10) << "top rows are not the sky's clear colour";
}

// Resizes the test window and lets the window system deliver the change.
void resizeWindow(int width, int height) {
    glutReshapeWindow(width, height);
    for (int i = 0;
         i < 200 && (glutGet(GLUT_WINDOW_WIDTH) != width || glutGet(GLUT_WINDOW_HEIGHT) != height);
         i++)
        pumpGlutEvents(1);
    ASSERT_EQ(glutGet(GLUT_WINDOW_WIDTH), width);
    ASSERT_EQ(glutGet(GLUT_WINDOW_HEIGHT), height);
    reshapeWindow(width, height);
    // The first swap at a new size hands back a fresh back buffer: draw it once.
    displayFrame();
}

// One whole frame as the demo draws it, read back before it is presented. The fountain starts
// afresh each time so that both programs see the same particles.
CapturedFrame displayAndCapture() {
    seedParticleRandom(1);
    initParticles();
    advanceFrame();
    drawFrame();
    return captureBackBuffer();
}

const int MASK_WIDTH = 160, MASK_HEIGHT = 120; // the common size the shadow masks are scaled to

// Cells of a MASK_WIDTH x MASK_HEIGHT grid where most pixels are clearly darker with the shadow
// lookup than without it.
std::vector<bool> shadowMask(const CapturedFrame& shadowed, const CapturedFrame& plain) {
    std::vector<int> dark(MASK_WIDTH * MASK_HEIGHT, 0), all(MASK_WIDTH * MASK_HEIGHT, 0);
    for (int y = 0; y < shadowed.height; y++) {
        for (int x = 0; x < shadowed.width; x++) {
            int cell =
                (y * MASK_HEIGHT / shadowed.height) * MASK_WIDTH + x * MASK_WIDTH / shadowed.width;
            all[cell]++;
            double without = luminance(plain, x, y);
            dark[cell] += without > 20.0 && luminance(shadowed, x, y) < 0.8 * without;
        }
    }
    std::vector<bool> mask(dark.size());
    for (size_t i = 0; i < mask.size(); i++)
        mask[i] = 2 * dark[i] > all[i];
    return mask;
}

// Share of the set cells of `a` that have a set cell of `b` at most two cells away.
double shareNear(const std::vector<bool>& a, const std::vector<bool>& b) {
    const int reach = 2;
    int set = 0, near = 0;
    for (int y = 0; y < MASK_HEIGHT; y++) {
        for (int x = 0; x < MASK_WIDTH; x++) {
            if (!a[y * MASK_WIDTH + x])
                continue;
            set++;
            bool hit = false;
            for (int v = std::max(0, y - reach); v <= std::min(MASK_HEIGHT - 1, y + reach); v++)
                for (int u = std::max(0, x - reach); u <= std::min(MASK_WIDTH - 1, x + reach); u++)
                    hit = hit || b[v * MASK_WIDTH + u];
            near += hit;
        }
    }
    return set == 0 ? 1.0 : (double)near / set;
}

} // namespace

TEST_F(TestScene, BoxShadowDarkensGroundWithoutAcneOrLeaks) {
    CapturedFrame frame = renderAndCapture();
    std::vector<GroundSample> samples = classifyGround(frame);
    ASSERT_EQ(largestShadowCaster(samples), tallBox);
    expectShadowClearlyDarker(frame, samples, tallBox);
    expectLitGroundUntouched(frame, samples);
}

// A target held to a small GL's largest side has larger texels: the shader's taps and slope bias
// must use them, as GL itself reports the shader's uniforms.
TEST_F(TestScene, LitPassGivesTheShaderTheTargetsRealSize) {
    int savedWidth = shadowMapWidth, savedHeight = shadowMapHeight;
    for (const int* size : {(const int[]){1024, 512}, (const int[]){2560, 1920}}) {
        shadowMapWidth = size[0];
        shadowMapHeight = size[1];
        renderLitPass();
        GLint width = 0, height = 0;
        glGetUniformiv(shadowProgram, glGetUniformLocation(shadowProgram, "ShadowMapWidth"),
                       &width);
        glGetUniformiv(shadowProgram, glGetUniformLocation(shadowProgram, "ShadowMapHeight"),
                       &height);
        EXPECT_EQ(width, size[0]);
        EXPECT_EQ(height, size[1]);
    }
    shadowMapWidth = savedWidth;
    shadowMapHeight = savedHeight;
}

TEST_F(TestScene, TextureMatrixMapsEyePositionsOntoTheDepthPassTexel) {
    renderDepthPass();
    glFinish();
    double projection[16], texture[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glActiveTexture(GL_TEXTURE0 + SHADOW_MAP_UNIT);
    glGetDoublev(GL_TEXTURE_MATRIX, texture);
    GLint matrixMode;
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    EXPECT_EQ(matrixMode, GL_MODELVIEW);

    const int width = 2560, height = 1920;
    std::vector<float> depth((size_t)width * height);
    glBindTexture(GL_TEXTURE_2D, shadowDepthTexture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    glActiveTexture(GL_TEXTURE0);

    // Points on the tall box's flat top and on open ground, seen by the lit pass in eye space.
    const Vec3f points[] = {
        {60, TEST_GROUND_Y + 100, -110}, {-40, TEST_GROUND_Y, -60}, {150, TEST_GROUND_Y, -200}};
    for (const Vec3f& w : points) {
        const Mat4& c = cameraMatrix;
        double eye[4] = {c[0] * w.x + c[4] * w.y + c[8] * w.z + c[12],
                         c[1] * w.x + c[5] * w.y + c[9] * w.z + c[13],
                         c[2] * w.x + c[6] * w.y + c[10] * w.z + c[14], 1.0};
        double s[4];
        for (int r = 0; r < 4; r++)
            s[r] = texture[r] * eye[0] + texture[4 + r] * eye[1] + texture[8 + r] * eye[2] +
                   texture[12 + r] * eye[3];
        double u = s[0] / s[3], v = s[1] / s[3], d = s[2] / s[3];
        // Where the light's own projection puts the world point.
        double view[16], lx, ly, lz;
        for (int i = 0; i < 16; i++)
            view[i] = lightMatrix[i];
        GLint viewport[4] = {0, 0, width, height};
        gluProject(w.x, w.y, w.z, view, projection, viewport, &lx, &ly, &lz);
        EXPECT_NEAR(u * width, lx, 0.01) << "point " << w.x << ", " << w.y << ", " << w.z;
        EXPECT_NEAR(v * height, ly, 0.01);
        ASSERT_TRUE(u > 0 && u < 1 && v > 0 && v < 1) << "point outside the light's map";
        float stored = depth[(size_t)(v * height) * width + (size_t)(u * width)];
        EXPECT_NEAR(stored, d, 2e-5) << "depth pass wrote another surface at that texel";
    }
}

TEST_F(RealScene, SkyClearColourFillsTheTopRowsAboveTheHorizon) {
    // The opening view tilted up by 20 degrees, so that its top rows look above the horizon.
    cameraRotate(-200, 0, 0);
    // The whole frame as the demo draws it, after the script: the sky comes from the frame
    // itself, not from a clear colour set here.
    startTime = time(nullptr) - 1000;
    glClearColor(0, 0, 0, 1);
    displayFrame();
    glFinish();
    float clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    const float skyBlue[4] = {0.53f, 0.81f, 1.0f, 0.0f}; // as the demo has always shown it
    for (int i = 0; i < 4; i++)
        EXPECT_FLOAT_EQ(clear[i], skyBlue[i]) << "clear colour channel " << i;
    CapturedFrame frame = captureBackBuffer();
    expectSkyInTopRows(frame);
    int sky = 0;
    for (int y = 0; y < frame.height / 2; y++)
        for (int x = 0; x < frame.width; x++)
            sky += frame.rgb[((size_t)y * frame.width + x) * 3 + 2] == 255;
    EXPECT_LT(sky, frame.width * frame.height / 20) << "the lower half shows no scene";
}

TEST_F(RealScene, ObjectShadowOnSandIsClearlyDarkerThanSandBesideIt) {
    // Looking down on the middle of the scene, where the light's map covers the sand.
    cameraTranslate(0, -120, -60);
    cameraRotate(250, 0, 0);
    CapturedFrame frame = renderAndCapture();
    std::vector<GroundSample> samples = classifyGround(frame);
    int caster = largestShadowCaster(samples);
    ASSERT_GT(caster, 0) << "no object shadow visible on the sand";
    expectShadowClearlyDarker(frame, samples, caster);
    expectLitGroundUntouched(frame, samples);
}

TEST_F(RealScene, WireframeKeyChangesTheImageAndSecondPressRestoresIt) {
    CapturedFrame filled = renderAndCapture();
    keyboardInput('r', 0, 0);
    CapturedFrame outlines = renderAndCapture();
    keyboardInput('R', 0, 0);
    CapturedFrame restored = renderAndCapture();
    EXPECT_NE(filled.rgb, outlines.rgb);
    EXPECT_TRUE(filled.rgb == restored.rgb) << "second press did not restore the filled image";
}

// The depth texture keeps its start size while the window changes; shadows must stay where their
// casters put them at any window size. The start view (aspect 1 at each of these sizes) is
// rendered with and without the shadow lookup, after the script, so nothing moves.
TEST_F(RealScene, ShadowsStayUnderTheirCastersAtEveryWindowSize) {
    startTime = time(nullptr) - 1000;
    const int sizes[][2] = {{640, 480}, {320, 240}, {1280, 960}, {480, 720}};
    GLhandleARB shadow = shadowProgram, plain = buildUnshadowedProgram();
    int shadowUniform = shadowMapUniform;
    std::vector<bool> reference;
    for (const auto& size : sizes) {
        resizeWindow(size[0], size[1]);
        shadowProgram = shadow;
        shadowMapUniform = shadowUniform;
        CapturedFrame shadowed = displayAndCapture();
        shadowProgram = plain;
        shadowMapUniform = -1;
        CapturedFrame without = displayAndCapture();
        std::vector<bool> mask = shadowMask(shadowed, without);
        if (reference.empty()) {
            reference = mask;
            ASSERT_GT(std::count(mask.begin(), mask.end(), true), 100) << "no shadow in view";
            continue;
        }
        // A coarser map widens thin shadows by a texel or two: near enough counts.
        double found = shareNear(mask, reference), kept = shareNear(reference, mask);
        EXPECT_GE(found, 0.75) << size[0] << " x " << size[1] << ": only " << found
                               << " of its shadowed cells lie near a shadow at 640 x 480";
        EXPECT_GE(kept, 0.75) << size[0] << " x " << size[1] << ": only " << kept
                              << " of the shadowed cells at 640 x 480 are still shadowed";
    }
    shadowProgram = shadow;
    shadowMapUniform = shadowUniform;
    resizeWindow(640, 480);
}

// Name 0 holds the first bitmap (the sand): an object whose bitmap is missing must not borrow it.
TEST_F(TestScene, ObjectWithoutBitmapIsDrawnInItsLitMaterialColour) {
    CapturedFrame white = renderAndCapture();
    sceneObjects[tallBox].textureId = -1;
    CapturedFrame missing = renderAndCapture();
    size_t differing = 0;
    for (size_t i = 0; i < white.rgb.size(); i++)
        differing += white.rgb[i] != missing.rgb[i];
    EXPECT_EQ(differing, 0u) << "the box without a bitmap differs from the same box in white";
}
