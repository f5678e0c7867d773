#include <gtest/gtest.h>

#include <GL/glew.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "app/sceneInit.h"
#include "particles/particleRandom.h"
#include "particles/particles.h"
#include "scene/textureLoaders.h"
#include "tests/glFixture.h"

namespace {

const int LIVE_SLOT = 1;

bool isMultipleOf(double value, double step) {
    double steps = value / step;
    return std::fabs(steps - std::round(steps)) < 1e-6;
}

// Puts one particle where a respawn leaves it, with the given downward speed.
void respawnedWithSpeed(Particle& p, double ySpeed) {
    p.x = 60;
    p.y = 24;
    p.z = 51;
    p.red = 1;
    p.green = 0;
    p.blue = 0;
    p.alpha = 1;
    p.ySpeed = ySpeed;
    p.yPull = 0.0025;
}

// Values from an independent re-implementation of the draw rules (generator x' = 214013 x +
// 2531011 from state 1, 15 bits from bit 16 on), in the same double arithmetic.
struct Speeds {
    double x, z, y;
};
const Speeds FIRST_FILL[] = {{0.005000000000000001, 0.022500000000000003, 0.003},
                             {0.015000000000000001, -0.004999999999999999, 0.0035}};
// How many live particles start with xSpeed = k * 0.0025, k = -10 .. 10.
const int X_SPEED_STEPS[21] = {233,  338,  414, 521, 640, 724, 803, 920, 1017, 1154, 1488,
                               1116, 1010, 955, 799, 753, 640, 514, 424, 312,  224};
// FNV-1a over the bytes of xSpeed, zSpeed, ySpeed of slots 1 .. 14,999: every bit of every draw.
const uint64_t FIRST_FILL_HASH = 0x919f671473b6eedcull;

uint64_t hashStartSpeeds() {
    uint64_t h = 0xcbf29ce484222325ull;
    for (int i = 1; i < PARTICLE_COUNT; i++)
        for (double v : {particles[i].xSpeed, particles[i].zSpeed, particles[i].ySpeed}) {
            unsigned char bytes[8];
            memcpy(bytes, &v, 8);
            for (unsigned char b : bytes)
                h = (h ^ b) * 0x100000001b3ull;
        }
    return h;
}

// Reports every difference from the pinned first fill on stderr; true when there is none.
bool firstFillIsPinned() {
    bool same = true;
    for (int i = 0; i < 2; i++) {
        const Particle& p = particles[i + 1];
        const Speeds& want = FIRST_FILL[i];
        if (p.xSpeed != want.x || p.zSpeed != want.z || p.ySpeed != want.y) {
            fprintf(stderr, "slot %d speeds %.17g %.17g %.17g, want %.17g %.17g %.17g\n", i + 1,
                    p.xSpeed, p.zSpeed, p.ySpeed, want.x, want.z, want.y);
            same = false;
        }
    }
    int steps[21] = {0};
    for (int i = 1; i < PARTICLE_COUNT; i++) {
        long k = std::lround(particles[i].xSpeed / 0.0025);
        if (k >= -10 && k <= 10)
            steps[k + 10]++;
    }
    for (int k = 0; k < 21; k++)
        if (steps[k] != X_SPEED_STEPS[k]) {
            fprintf(stderr, "%d particles with x step %d, want %d\n", steps[k], k - 10,
                    X_SPEED_STEPS[k]);
            same = false;
        }
    if (hashStartSpeeds() != FIRST_FILL_HASH) {
        fprintf(stderr, "start speeds differ in some bit (hash %llx)\n",
                (unsigned long long)hashStartSpeeds());
        same = false;
    }
    return same;
}

class Particles : public ::testing::Test {
  protected:
    void SetUp() override {
        memset(particles, 0, sizeof(particles));
        seedParticleRandom(1);
        initParticles();
    }
};

} // namespace

TEST(ParticleRandom, FollowsTheFixedSequenceWithinFifteenBits) {
    seedParticleRandom(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int value : expected)
        EXPECT_EQ(value, particleRandom());
    for (int i = 0; i < 100000; i++) {
        int value = particleRandom();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, PARTICLE_RANDOM_MAX);
    }
}

TEST_F(Particles, StartAtTheEmitterRedAndOpaqueWithQuantisedSpeeds) {
    std::set<long> ySteps;
    for (int i = 1; i < PARTICLE_COUNT; i++) {
        const Particle& p = particles[i];
        ASSERT_EQ(60, p.x) << "slot " << i;
        ASSERT_EQ(24, p.y) << "slot " << i;
        ASSERT_EQ(51, p.z) << "slot " << i;
        ASSERT_TRUE(p.red == 1 && p.green == 0 && p.blue == 0 && p.alpha == 1) << "slot " << i;
        ASSERT_EQ(0.35, p.size) << "slot " << i;
        ASSERT_EQ(0.0025, p.yPull) << "slot " << i;
        ASSERT_TRUE(isMultipleOf(p.ySpeed, 0.0005)) << p.ySpeed;
        ySteps.insert(std::lround(p.ySpeed / 0.0005));
        for (double speed : {p.xSpeed, p.zSpeed}) {
            ASSERT_TRUE(isMultipleOf(speed, 0.0025)) << speed;
            ASSERT_LE(std::fabs(speed), 0.025 + 1e-12) << speed;
        }
    }
    // The start rule yields every step 1 .. 15 of 0.0005 and nothing else.
    EXPECT_EQ(15u, ySteps.size());
    EXPECT_EQ(1, *ySteps.begin());
    EXPECT_EQ(15, *ySteps.rbegin());
    EXPECT_TRUE(firstFillIsPinned());
}

TEST(ParticleStart, FirstFillFollowsTheSequenceOfAnUnseededGenerator) {
    // A fresh process, as the demo starts: no seed call anywhere before the fill.
    EXPECT_EXIT(
        {
            initParticles();
            exit(firstFillIsPinned() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(Particles, FirstRespawnOfParticleOneDrawsItsPinnedSpeedsAndResetsEverything) {
    Particle& p = particles[LIVE_SLOT];
    updateParticles();
    EXPECT_NE(0.0025, p.yPull) << "slot 1 (ySpeed 0.003) is still falling after one frame";
    // Everything the reset touches, set away from its reset value first.
    p.x = 61.5;
    p.z = 49.0;
    p.red = 0.5;
    p.green = 0.25;
    p.blue = 0.75;
    p.alpha = 0.5;
    p.size = 0.9;
    updateParticles();
    EXPECT_EQ(60, p.x);
    EXPECT_EQ(24, p.y);
    EXPECT_EQ(51, p.z);
    EXPECT_TRUE(p.red == 1 && p.green == 0 && p.blue == 0 && p.alpha == 1)
        << p.red << " " << p.green << " " << p.blue << " " << p.alpha;
    EXPECT_EQ(0.0025, p.yPull);
    EXPECT_EQ(0.9, p.size) << "a respawn keeps the size";
    // The draws of the whole first fill and one frame come before these.
    EXPECT_EQ(-0.015000000000000001, p.xSpeed);
    EXPECT_EQ(0.012499999999999999, p.zSpeed);
    EXPECT_EQ(0.02, p.ySpeed);
}

TEST_F(Particles, ExactlyTwentyTwoSpreadsAndExactlyTwentyFourDoesNotRespawn) {
    struct {
        double y;
        double x; // after one frame
        bool respawns;
    } cases[] = {
        {22.0, 60.0 - 0.01, false},  // at 22 the own speed applies
        {22.5, 60.0 + 0.025, false}, // above it the pull to the column
        {24.0, 60.0 + 0.025, false}, // at 24 it stays alive
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.y);
        Particle& p = particles[LIVE_SLOT];
        respawnedWithSpeed(p, 0);
        p.y = c.y;
        p.yPull = 0; // the frame leaves y exactly where it is
        p.xSpeed = 0.01;
        p.green = 0.5;
        updateParticles();
        EXPECT_EQ(c.y, p.y);
        EXPECT_DOUBLE_EQ(c.x, p.x);
        EXPECT_DOUBLE_EQ(0.501, p.green) << "no respawn";
        EXPECT_EQ(0.005, p.yPull) << "no respawn";
    }
}

TEST_F(Particles, SlotZeroStaysZeroThroughInitAndUpdates) {
    Particle zero;
    memset(&zero, 0, sizeof(zero));
    for (int frame = 0; frame < 100; frame++)
        updateParticles();
    EXPECT_EQ(0, memcmp(&zero, &particles[0], sizeof(Particle)));
}

TEST_F(Particles, FirstFillRespawnsWithinFourFramesWithRespawnSpeeds) {
    // The slowest start speed respawns on the first update, at 24.002 before the reset.
    respawnedWithSpeed(particles[LIVE_SLOT], 0.0005);
    updateParticles();
    EXPECT_EQ(24, particles[LIVE_SLOT].y);
    EXPECT_EQ(0.0025, particles[LIVE_SLOT].yPull);
    for (int frame = 1; frame < 4; frame++)
        updateParticles();
    std::set<long> ySteps;
    for (int i = 1; i < PARTICLE_COUNT; i++) {
        ASSERT_TRUE(isMultipleOf(particles[i].ySpeed, 0.02)) << "slot " << i;
        ySteps.insert(std::lround(particles[i].ySpeed / 0.02));
        ASSERT_EQ(0.35, particles[i].size);
    }
    EXPECT_EQ(11u, ySteps.size());
    EXPECT_EQ(1, *ySteps.begin());
    EXPECT_EQ(11, *ySteps.rbegin());
}

TEST_F(Particles, FastestRespawnLivesEightyEightFramesAndDipsToAboutNineteen) {
    Particle& p = particles[LIVE_SLOT];
    respawnedWithSpeed(p, 0.22);
    double lowest = 24;
    int frames = 0;
    // A respawn is the only step that puts yPull back to its start value.
    while (frames < 1000) {
        updateParticles();
        frames++;
        if (p.yPull == 0.0025)
            break;
        lowest = std::min(lowest, p.y);
    }
    EXPECT_EQ(88, frames);
    EXPECT_NEAR(19.16, lowest, 0.01);
}

TEST_F(Particles, SlowestRespawnLivesEightFramesAndOnlyDriftsToTheColumn) {
    Particle& p = particles[LIVE_SLOT];
    respawnedWithSpeed(p, 0.02);
    p.xSpeed = 0.025;
    p.zSpeed = -0.025;
    int frames = 0;
    do {
        updateParticles();
        frames++;
        if (p.yPull != 0.0025) {
            ASSERT_GT(p.y, 22);
            // Above 22 the own speeds are unused: each frame moves by exactly one pull step.
            ASSERT_TRUE(p.x == 60.025 || p.x == 60.0) << p.x;
        }
    } while (p.yPull != 0.0025 && frames < 1000);
    EXPECT_EQ(8, frames);
}

TEST_F(Particles, ParticleOnTheColumnOscillatesByOneStep) {
    Particle& p = particles[LIVE_SLOT];
    respawnedWithSpeed(p, 0.22);
    updateParticles();
    EXPECT_DOUBLE_EQ(60.025, p.x);
    EXPECT_DOUBLE_EQ(51.025, p.z);
    updateParticles();
    EXPECT_DOUBLE_EQ(60.0, p.x);
    EXPECT_DOUBLE_EQ(51.0, p.z);
}

TEST_F(Particles, BelowTwentyTwoParticlesSpreadByTheirOwnSpeeds) {
    Particle& p = particles[LIVE_SLOT];
    respawnedWithSpeed(p, 0.22);
    p.y = 21;
    p.yPull = 0.3;
    p.xSpeed = 0.01;
    p.zSpeed = -0.02;
    updateParticles();
    EXPECT_DOUBLE_EQ(59.99, p.x);
    EXPECT_DOUBLE_EQ(51.02, p.z);
}

TEST_F(Particles, ColourChangesOneChannelPerFrameGreenThenBlueThenAlpha) {
    Particle& p = particles[LIVE_SLOT];
    respawnedWithSpeed(p, 0.22);
    updateParticles();
    EXPECT_DOUBLE_EQ(0.001, p.green);
    EXPECT_EQ(0, p.blue);
    p.green = 1;
    updateParticles();
    EXPECT_DOUBLE_EQ(0.005, p.blue);
    p.blue = 1;
    updateParticles();
    EXPECT_DOUBLE_EQ(0.95, p.alpha);
    EXPECT_EQ(1, p.green);
}

TEST_F(Particles, SameFountainOnEveryRun) {
    static Particle first[PARTICLE_COUNT];
    for (int frame = 0; frame < 30; frame++)
        updateParticles();
    memcpy(first, particles, sizeof(particles));
    SetUp();
    for (int frame = 0; frame < 30; frame++)
        updateParticles();
    EXPECT_EQ(0, memcmp(first, particles, sizeof(particles)));
}

namespace {

class ParticleDrawing : public GlTest {
  protected:
    void SetUp() override {
        memset(particles, 0, sizeof(particles));
        seedParticleRandom(1);
        initParticles();
        billboardAngles[0] = 150;
        billboardAngles[1] = 0;
        billboardAngles[2] = 0;
        particleTexture = 0;
        glViewport(0, 0, 640, 480);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glFrustum(-1, 1, -0.75, 0.75, 1, 100);
        glMatrixMode(GL_MODELVIEW);
        // Eye 10 units in front of the emitter, looking at it.
        glLoadIdentity();
        glTranslatef(-60, -24, -61);
        glDisable(GL_TEXTURE_2D);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT1);
        glClearColor(0, 0, 0, 1);
        glDepthMask(GL_TRUE);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        // Off here, so that what drawParticles itself sets is what the tests see.
        glDisable(GL_DEPTH_TEST);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
};

// Where a corner of a particle's square should land: the square's corner turned by the textbook
// rotations about x, then y, then z (degrees, applied to the point in z, y, x order), scaled and
// moved to the particle, then projected with the current matrices.
void expectedCorner(const Particle& p, const double turnDegrees[3], double cx, double cy,
                    double window[2]) {
    double v[3] = {cx, cy, 0};
    for (int axis = 2; axis >= 0; axis--) {
        double a = turnDegrees[axis] * M_PI / 180, c = cos(a), s = sin(a);
        int i = (axis + 1) % 3, j = (axis + 2) % 3;
        double vi = v[i], vj = v[j];
        v[i] = c * vi - s * vj;
        v[j] = s * vi + c * vj;
    }
    double modelview[16], projection[16], z;
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    gluProject(p.x + p.size * v[0], p.y + p.size * v[1], p.z + p.size * v[2], modelview, projection,
               viewport, &window[0], &window[1], &z);
}

struct FeedbackVertex {
    float x, y, s, t;
};

// The vertices GL receives during drawParticles, from feedback mode (window x, y and texture s, t).
std::vector<FeedbackVertex> feedbackOfDrawParticles() {
    static GLfloat buffer[1 << 16];
    glFeedbackBuffer(1 << 16, GL_3D_COLOR_TEXTURE, buffer);
    glRenderMode(GL_FEEDBACK);
    drawParticles();
    int count = glRenderMode(GL_RENDER);
    std::vector<FeedbackVertex> vertices;
    const int VERTEX_FLOATS = 3 + 4 + 4;
    for (int i = 0; i < count;) {
        int token = (int)buffer[i++];
        int n = token == GL_POLYGON_TOKEN ? (int)buffer[i++] : 0;
        if (token != GL_POLYGON_TOKEN) {
            ADD_FAILURE() << "unexpected feedback token " << token;
            break;
        }
        for (int k = 0; k < n; k++, i += VERTEX_FLOATS)
            vertices.push_back({buffer[i], buffer[i + 1], buffer[i + 7], buffer[i + 8]});
    }
    return vertices;
}

} // namespace

TEST_F(ParticleDrawing, RestoresLightingDepthWritesMaterialAndBlendFunction) {
    GLint stackDepth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &stackDepth);
    drawParticles();
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_TRUE(glIsEnabled(GL_BLEND)) << "blending is left on";
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_TRUE(depthWrites);
    GLint source = 0, destination = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(GL_ONE, source);
    EXPECT_EQ(GL_ZERO, destination);
    GLfloat ambient[4], diffuse[4];
    glGetMaterialfv(GL_BACK, GL_AMBIENT, ambient);
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
    for (int i = 0; i < 4; i++) {
        EXPECT_FLOAT_EQ(lightAmbient[i], ambient[i]) << "ambient " << i;
        EXPECT_FLOAT_EQ(lightDiffuse[i], diffuse[i]) << "diffuse " << i;
    }
    GLint depthAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(stackDepth, depthAfter) << "every push is popped";
}

TEST_F(ParticleDrawing, SquareIsScaledTurnedBackAndTexturedAsTheBillboardAnglesSay) {
    // Only slot 1 in view: the others sit behind the eye and are clipped away.
    for (int i = 2; i < PARTICLE_COUNT; i++)
        particles[i].z = 1000;
    Particle& p = particles[LIVE_SLOT];
    p.x = 60.5;
    p.y = 24.25;
    p.z = 50;
    p.size = 0.8;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const unsigned char white[4] = {255, 255, 255, 255};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
    glBindTexture(GL_TEXTURE_2D, 0);
    glEnable(GL_TEXTURE_2D);
    particleTexture = (float)texture;

    // Turns undone: x and y by tenths of a degree, z by hundredths, all with the sign flipped.
    struct {
        float angles[3];
        double degrees[3];
    } cases[] = {
        {{150, 0, 0}, {-15, 0, 0}},
        {{0, -550, 0}, {0, 55, 0}},
        {{0, 0, -27000}, {0, 0, 270}},
        {{-300, 450, 1234}, {30, -45, -12.34}},
    };
    // Corners in drawing order with their texture coordinates.
    const double corners[4][4] = {{-1, -1, 0, 0}, {1, -1, 1, 0}, {1, 1, 1, 1}, {-1, 1, 0, 1}};
    for (auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.angles[0] << " " << c.angles[1] << " " << c.angles[2]);
        memcpy(billboardAngles, c.angles, sizeof(c.angles));
        std::vector<FeedbackVertex> vertices = feedbackOfDrawParticles();
        ASSERT_GE(vertices.size(), 4u);
        for (const double* corner : corners) {
            double window[2];
            expectedCorner(p, c.degrees, corner[0], corner[1], window);
            bool found = false;
            for (const FeedbackVertex& v : vertices)
                found |= std::fabs(v.x - window[0]) < 0.05 && std::fabs(v.y - window[1]) < 0.05 &&
                         v.s == (float)corner[2] && v.t == (float)corner[3];
            EXPECT_TRUE(found) << "corner (" << corner[0] << ", " << corner[1] << ") expected at "
                               << window[0] << ", " << window[1] << " with texture coordinates "
                               << corner[2] << ", " << corner[3];
        }
        for (const FeedbackVertex& v : vertices)
            EXPECT_TRUE((v.s == 0 || v.s == 1) && (v.t == 0 || v.t == 1)) << v.s << " " << v.t;
    }
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ((GLint)texture, bound) << "the particle texture is bound";
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST)) << "drawParticles switches depth testing on";
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D)) << "texturing is left as it was";
    glDisable(GL_TEXTURE_2D);
    glDeleteTextures(1, &texture);
}

TEST_F(ParticleDrawing, FountainAddsUpToBrightRedAtTheEmitterAndWritesNoDepth) {
    drawParticles();
    unsigned char centre[4];
    glReadPixels(320, 240, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, centre);
    EXPECT_EQ(255, centre[0]) << "thousands of red squares add up at the emitter";
    EXPECT_LT(centre[2], 10) << "fresh particles carry no blue";
    unsigned char corner[4];
    glReadPixels(2, 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, corner);
    EXPECT_EQ(0, corner[0]) << "squares are 0.7 units across, far from the corner";
    float depth = 0;
    glReadPixels(320, 240, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_EQ(1.0f, depth) << "particles write no depth";
}

namespace {

// Window pixels of the one particle square that the blending test draws: 256 x 256 pixels from
// (192, 112), one per texel of the 256 x 256 particle image.
const int IMAGE_SIDE = 256, SQUARE_LEFT = 192, SQUARE_BOTTOM = 112;

std::vector<unsigned char> readWindowRgb() {
    std::vector<unsigned char> rgb(640 * 480 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

// Draws `layers` particles on one spot over the background `background` (RGB, 0..1) with the
// particle image, and compares every pixel of the square with what adding the particles gives:
// background + layers x alpha x colour x texel, clamped to 255. Texels whose neighbourhood is
// black must leave the background exactly as it was.
void expectParticlesAddToBackground(const std::vector<unsigned char>& image, int layers) {
    // Distinct channels, so that channels swapped on the way to GL show.
    const float colour[4] = {0.8f, 0.45f, 0.15f, 0.5f};
    const float background[3] = {0.25f, 0.5f, 0.75f};
    for (int i = 1; i < PARTICLE_COUNT; i++)
        particles[i].z = 1000; // outside the depth range: clipped away
    for (int k = 0; k < layers; k++) {
        Particle& p = particles[LIVE_SLOT + k];
        p.x = SQUARE_LEFT + IMAGE_SIDE / 2;
        p.y = SQUARE_BOTTOM + IMAGE_SIDE / 2;
        p.z = 0;
        p.size = IMAGE_SIDE / 2;
        p.red = colour[0];
        p.green = colour[1];
        p.blue = colour[2];
        p.alpha = colour[3];
    }
    glClearColor(background[0], background[1], background[2], 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const std::vector<unsigned char> before = readWindowRgb();
    drawParticles();
    const std::vector<unsigned char> after = readWindowRgb();

    int darkPixels = 0, brightened = 0, wrong = 0;
    std::string firstWrong;
    for (int y = 1; y < IMAGE_SIDE - 1; y++) {
        for (int x = 1; x < IMAGE_SIDE - 1; x++) {
            bool dark = true;
            for (int dy = -1; dy <= 1; dy++)
                for (int dx = -1; dx <= 1; dx++)
                    for (int c = 0; c < 3; c++)
                        dark &= image[((size_t)(y + dy) * IMAGE_SIDE + x + dx) * 3 + c] == 0;
            size_t pixel = ((size_t)(SQUARE_BOTTOM + y) * 640 + SQUARE_LEFT + x) * 3;
            bool brighter = false;
            for (int c = 0; c < 3; c++) {
                double texel = image[((size_t)y * IMAGE_SIDE + x) * 3 + c];
                double expected =
                    std::min(255.0, before[pixel + c] + layers * colour[3] * colour[c] * texel);
                int got = after[pixel + c];
                bool ok = dark ? got == before[pixel + c] : std::fabs(got - expected) <= 3;
                brighter |= got > before[pixel + c];
                if (!ok && wrong++ == 0)
                    firstWrong = testing::PrintToString(x) + ", " + testing::PrintToString(y) +
                                 " channel " + testing::PrintToString(c) + ": background " +
                                 testing::PrintToString((int)before[pixel + c]) + ", texel " +
                                 testing::PrintToString(texel) + ", expected " +
                                 testing::PrintToString(expected) + ", got " +
                                 testing::PrintToString(got);
            }
            darkPixels += dark;
            brightened += brighter;
        }
    }
    EXPECT_GT(darkPixels, 1000) << "the particle image should have dark texels around its glow";
    EXPECT_GT(brightened, 1000) << "the particle image should brighten the background somewhere";
    EXPECT_EQ(wrong, 0) << layers << " particle(s): " << wrong
                        << " channel values differ from background plus particles; first at "
                        << firstWrong;
}

} // namespace

// The squares are added to what lies beneath (GL_SRC_ALPHA, GL_ONE). Over a known background
// the particle image's bright texels brighten it by alpha x colour x texel, two particles on one
// spot add twice that, and the image's dark texels leave the background as it was.
TEST_F(ParticleDrawing, ParticlesAddToTheBackgroundAndDarkTexelsLeaveItUnchanged) {
    FILE* file = fopen("res/particle.raw", "rb");
    ASSERT_NE(file, nullptr) << "generated res/particle.raw missing in the run directory";
    std::vector<unsigned char> image((size_t)IMAGE_SIDE * IMAGE_SIDE * 3);
    size_t read = fread(image.data(), 1, image.size(), file);
    fclose(file);
    ASSERT_EQ(read, image.size());
    GLuint texture = loadRawTexture("res/particle.raw", IMAGE_SIDE, IMAGE_SIDE);
    ASSERT_NE(texture, 0u);
    particleTexture = (float)texture;
    glEnable(GL_TEXTURE_2D);
    // One window pixel per texel, the square facing the eye.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 640, 0, 480, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    billboardAngles[0] = billboardAngles[1] = billboardAngles[2] = 0;

    expectParticlesAddToBackground(image, 1);
    expectParticlesAddToBackground(image, 2);

    glDisable(GL_TEXTURE_2D);
    glDeleteTextures(1, &texture);
}
