#include "particles/particles.h"

#include "particles/particleRandom.h"

Particle particles[PARTICLE_COUNT]; // slot 0 stays zero; 1 .. PARTICLE_COUNT - 1 are live

static const double EMITTER_X = 60.0; // world units
static const double EMITTER_Y = 24.0;
static const double EMITTER_Z = 51.0;
static const double SPREAD_HEIGHT = 22.0; // at or below it particles spread out
static const double COLUMN_PULL = 0.025;  // per frame, toward the emitter's column
static const double START_Y_PULL = 0.0025;
static const double Y_PULL_GROWTH = 0.005; // per frame
static const double START_SIZE = 0.35;

// ---- helpers ----
static int spreadDraw();
static double horizontalSpeed();
static void drawHorizontalSpeeds(Particle& p);
static int verticalSpeedSteps(int modulus);
static void resetAtEmitter(Particle& p);
static void stepTowardColumn(double& coordinate, double column);
static void ageColour(Particle& p);

// 1 .. 11; r1 is drawn before r2.
static int spreadDraw() {
    int r1 = particleRandom();
    int r2 = particleRandom();
    return ((r1 * 2) % 11 + 1) * r2 % 11 + 1;
}

// -0.025 .. 0.025 in steps of 0.0025; the first product is stored before the second is
// subtracted.
static double horizontalSpeed() {
    double first = spreadDraw() * 0.0025;
    return first - spreadDraw() * 0.0025;
}

// x before z, four random numbers each.
static void drawHorizontalSpeeds(Particle& p) {
    p.xSpeed = horizontalSpeed();
    p.zSpeed = horizontalSpeed();
}

// 1 .. modulus: the start rule uses 15, the respawn rule 11.
static int verticalSpeedSteps(int modulus) {
    int r1 = particleRandom();
    int r2 = particleRandom();
    int q = (r1 * 5) % 11 + 5;
    return (q * r2) % modulus + 1;
}

static void resetAtEmitter(Particle& p) {
    p.x = EMITTER_X;
    p.y = EMITTER_Y;
    p.z = EMITTER_Z;
    p.red = 1.0;
    p.green = 0.0;
    p.blue = 0.0;
    p.alpha = 1.0;
}

// A particle exactly on the column still moves: it oscillates by one step around it.
static void stepTowardColumn(double& coordinate, double column) {
    if (coordinate <= column)
        coordinate += COLUMN_PULL;
    else
        coordinate -= COLUMN_PULL;
}

// One colour change per frame at most.
static void ageColour(Particle& p) {
    if (p.green < 1.0)
        p.green += 0.001;
    else if (p.blue < 1.0)
        p.blue += 0.005;
    else if (p.alpha > 0.0)
        p.alpha -= 0.05;
}

void initParticles() {
    for (int i = 1; i < PARTICLE_COUNT; i++) {
        Particle& p = particles[i];
        resetAtEmitter(p);
        drawHorizontalSpeeds(p);
        p.size = START_SIZE;
        p.ySpeed = verticalSpeedSteps(15) * 0.0005;
        p.yPull = START_Y_PULL;
    }
}

void updateParticles() {
    for (int i = 1; i < PARTICLE_COUNT; i++) {
        Particle& p = particles[i];
        p.y = (p.y - p.ySpeed) + p.yPull;
        p.yPull += Y_PULL_GROWTH;
        if (p.y <= SPREAD_HEIGHT) {
            p.x -= p.xSpeed;
            p.z -= p.zSpeed;
        } else {
            stepTowardColumn(p.x, EMITTER_X);
            stepTowardColumn(p.z, EMITTER_Z);
        }
        ageColour(p);
        if (p.y > EMITTER_Y) {
            // Respawn in place; size keeps its start value.
            resetAtEmitter(p);
            drawHorizontalSpeeds(p);
            p.ySpeed = verticalSpeedSteps(11) * 0.02;
            p.yPull = START_Y_PULL;
        }
    }
}
