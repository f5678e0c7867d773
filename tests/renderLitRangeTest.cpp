// The lit pass keeps every shot of the script readable: lit faces within range, few near-black
// faces, shadows on the sand clearly darker than the sand beside them. The script is replayed
// frame by frame at a fixed rate; the table it prints is what scripts/lightStats.sh shows.
#include <GL/glew.h>
#include <GL/glu.h>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "app/sceneInit.h"
#include "app/window.h"
#include "demo/choreography.h"
#include "app/replay.h"
#include "particles/particleRandom.h"
#include "render/extensionEntryPoints.h"
#include "render/frame.h"
#include "render/unshadowedProgram.h"
#include "scene/sceneStore.h"
#include "scene/textureLoaders.h"
#include "tests/glFixture.h"
#include "tests/renderSceneSupportTest.h"

namespace {

const int SCRIPT_SECONDS = 24;   // the last phase ends here; nothing moves afterwards
const int FRAMES_PER_SECOND = 4; // the script advances per frame; a software renderer draws 4 to 15
const double MAX_SATURATED = 0.10;  // share of scene pixels with a channel at 255
const double MAX_NEAR_BLACK = 0.12; // share of scene pixels with luminance below NEAR_BLACK
const double NEAR_BLACK = 40.0;
const double MAX_SHADOW_RATIO = 0.7; // shadowed sand / lit sand beside it
const int SAND_SAMPLE_STEP = 3;      // pixels between the sand samples sorted by ray casts

struct ShotStats {
    std::string name;
    double saturated, nearBlack; // shares of the scene's pixels (sky and particles left out)
    double shownSaturated;       // the same share in the frame as shown, particles included
    double shadowRatio;          // -1 where no shadow falls on visible sand
    int shadowSamples;
};

double shareOfScene(const CapturedFrame& frame, bool (*test)(const unsigned char* rgb)) {
    int scene = 0, hits = 0;
    for (size_t i = 0; i < frame.depth.size(); i++) {
        // Only the drawn scene: the clear colour (sky) keeps depth 1.
        if (frame.depth[i] >= 1.0f)
            continue;
        scene++;
        hits += test(&frame.rgb[i * 3]);
    }
    return scene == 0 ? 0.0 : (double)hits / scene;
}

bool saturated(const unsigned char* rgb) {
    return rgb[0] == 255 || rgb[1] == 255 || rgb[2] == 255;
}

bool nearBlack(const unsigned char* rgb) {
    return 0.299 * rgb[0] + 0.587 * rgb[1] + 0.114 * rgb[2] < NEAR_BLACK;
}

// Right after a drawn replay frame: the frame as drawn, before any swap, then the lit scene alone,
// rendered again from the same state, whose depth says where the sky is.
ShotStats measureShot(const std::string& name) {
    glFinish();
    std::vector<unsigned char> shownRgb((size_t)windowWidth * windowHeight * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, windowWidth, windowHeight, GL_RGB, GL_UNSIGNED_BYTE, shownRgb.data());
    CapturedFrame scene = renderAndCapture();
    CapturedFrame shown = scene;
    shown.rgb = shownRgb;
    ShotStats stats;
    stats.name = name;
    stats.saturated = shareOfScene(scene, saturated);
    stats.nearBlack = shareOfScene(scene, nearBlack);
    stats.shownSaturated = shareOfScene(shown, saturated);
    ShadowAndLit sand =
        shadowAndLitGround(scene, classifyGround(scene, SAND_SAMPLE_STEP), ANY_CASTER);
    stats.shadowSamples = (int)sand.shadowed.size();
    stats.shadowRatio = sand.shadowed.size() >= 10 && sand.lit.size() >= 10
                            ? median(sand.shadowed) / median(sand.lit)
                            : -1.0;
    return stats;
}

void playSecond(int second, int frames) {
    for (int f = 0; f < frames; f++)
        replayFrame(second, true);
}

void printTable(const std::vector<ShotStats>& shots) {
    printf("light stats: %d frames per script second, window %d x %d\n", FRAMES_PER_SECOND,
           windowWidth, windowHeight);
    printf("light stats: %-8s %10s %11s %14s %13s\n", "shot", "saturated", "near black",
           "shadow / lit", "shown sat.");
    for (const ShotStats& s : shots) {
        char ratio[32];
        if (s.shadowRatio < 0)
            snprintf(ratio, sizeof(ratio), "-");
        else
            snprintf(ratio, sizeof(ratio), "%.2f (%d)", s.shadowRatio, s.shadowSamples);
        printf("light stats: %-8s %9.1f%% %10.1f%% %14s %12.1f%%\n", s.name.c_str(),
               100 * s.saturated, 100 * s.nearBlack, ratio, 100 * s.shownSaturated);
    }
    printf("light stats: limits: saturated <= %.0f%%, near black (luminance < %.0f) <= %.0f%%, "
           "shadow / lit < %.2f; shown sat. counts the additive particles too\n",
           100 * MAX_SATURATED, NEAR_BLACK, 100 * MAX_NEAR_BLACK, MAX_SHADOW_RATIO);
}

// Red channel of a face at the middle of the window, lit by GL_LIGHT1 and the front material as
// the scene sets them, with the given eye-space normal and a grey texture of value 200, `distance`
// units in front of the eye (it fills the same part of the window at any distance).
int faceBrightness(GLhandleARB program, const float normal[3], float distance = 50) {
    static GLuint grey = makeFlatTexture(200);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, grey);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    extensionEntryPoints.useProgramObjectARB(program);
    glBegin(GL_QUADS);
    glNormal3fv(normal);
    glTexCoord2f(0.5f, 0.5f);
    float half = distance / 10;
    glVertex3f(-half, -half, -distance);
    glVertex3f(half, -half, -distance);
    glVertex3f(half, half, -distance);
    glVertex3f(-half, half, -distance);
    glEnd();
    extensionEntryPoints.useProgramObjectARB(0);
    glFinish();
    unsigned char rgb[3];
    glReadPixels(windowWidth / 2, windowHeight / 2, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return rgb[0];
}

} // namespace

class LitFaces : public GlTest {
  protected:
    void SetUp() override {
        bindExtensionEntryPoints();
        glViewport(0, 0, windowWidth, windowHeight);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(45.0, 1.0, 10.0, 40000.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        // As scene initialisation gives them: the light's position under the identity.
        glLightfv(GL_LIGHT1, GL_AMBIENT, lightAmbient);
        glLightfv(GL_LIGHT1, GL_DIFFUSE, lightDiffuse);
        glLightfv(GL_LIGHT1, GL_SPECULAR, lightSpecular);
        glLightfv(GL_LIGHT1, GL_POSITION, lightPosition);
        glMaterialfv(GL_FRONT, GL_AMBIENT, materialAmbient);
        glMaterialfv(GL_FRONT, GL_DIFFUSE, materialDiffuse);
        glMaterialfv(GL_FRONT, GL_SPECULAR, materialSpecular);
        glMaterialfv(GL_FRONT, GL_SHININESS, materialShininess);
        glEnable(GL_DEPTH_TEST);
    }
};

// Far sand fades into the dust in the air, whichever way it faces; near faces keep their light.
TEST_F(LitFaces, FarFacesFadeTowardTheDustColour) {
    GLhandleARB program = buildUnshadowedProgram();
    const float toEye[3] = {0.0f, 0.0f, 1.0f};
    const float away[3] = {-0.2357f, -0.9428f, -0.2357f};
    int near = faceBrightness(program, away, 50);
    int farFacingEye = faceBrightness(program, toEye, 20000);
    int farTurnedAway = faceBrightness(program, away, 20000);
    EXPECT_GT(farTurnedAway, near + 60) << "a far face keeps its own dark shading";
    EXPECT_GE(farTurnedAway, 170) << "far sand is not faded toward the pale dust colour";
    EXPECT_NEAR(farFacingEye, farTurnedAway, 40) << "far faces differ as much as near ones";
}

// Facing the light a face shows its texture as painted; turned away it keeps the sky's light,
// more the farther it turns.
TEST_F(LitFaces, SkyFillGrowsAsAFaceTurnsAwayAndLitFacesKeepTheirTexture) {
    GLhandleARB program = buildUnshadowedProgram();
    // The light seen from the face's middle at (0, 0, -50): toward (20, 80, -30).
    const float toLight[3] = {0.2357f, 0.9428f, 0.2357f};
    const float away[3] = {-0.2357f, -0.9428f, -0.2357f};
    const float across[3] = {0.9701f, 0.0f, -0.2425f}; // at a right angle to the light
    int lit = faceBrightness(program, toLight);
    int side = faceBrightness(program, across);
    int turned = faceBrightness(program, away);
    EXPECT_GE(lit, 195) << "a face toward the light is darker than its texture";
    EXPECT_LE(lit, 201) << "a face toward the light is brighter than its texture";
    EXPECT_GT(turned, side) << "the sky fill must be strongest on faces turned away";
    EXPECT_GE(side, 40) << "a face at a right angle to the light is near black";
    EXPECT_LT(turned, lit / 2) << "a face turned away must stay clearly darker than a lit one";
}

TEST(LitPassRange, EveryScriptShotKeepsLitFacesInRangeAndShadowsDark) {
    ensureGlWindow();
    if (!std::filesystem::exists("res/desert.3ds"))
        GTEST_FAIL() << "generated res/ missing: the build writes it into the run directory";
    beginReplay();
    initSceneAsAtStart();
    seedParticleRandom(1);

    std::vector<ShotStats> shots;
    playSecond(0, 1);
    shots.push_back(measureShot("opening"));
    playSecond(0, FRAMES_PER_SECOND - 1);
    for (int second = 0; second <= SCRIPT_SECONDS; second++) {
        if (second > 0)
            playSecond(second, FRAMES_PER_SECOND);
        char name[16];
        snprintf(name, sizeof(name), "%02ds", second);
        shots.push_back(measureShot(name));
    }
    endReplay();
    printTable(shots);

    for (const ShotStats& s : shots) {
        EXPECT_LE(s.saturated, MAX_SATURATED) << s.name << ": lit faces clip";
        EXPECT_LE(s.nearBlack, MAX_NEAR_BLACK) << s.name << ": too many faces near black";
        if (s.shadowRatio >= 0) {
            EXPECT_LT(s.shadowRatio, MAX_SHADOW_RATIO) << s.name << ": shadows too faint";
        }
    }
}
