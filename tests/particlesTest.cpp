#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cmath>
#include <cstring>
#include <set>

#include "app/sceneInit.h"
#include "particles/particleRandom.h"
#include "particles/particles.h"
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
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT1);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDepthMask(GL_FALSE);
    }
};

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
