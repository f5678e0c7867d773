#include "terrain.h"

#include <cmath>
#include <stb_perlin.h>

#include "texturePaint.h"

// A spot the sand must meet: world x, z, height y; dunes fade out within radius of it.
struct GroundPin {
    float x, z, y, radius;
};

// Fence runs (90 long) lie flat at their rows' heights; dunes stay off them.
struct FenceRun {
    float x0, z0, x1, z1, y;
};

static const GroundPin PINS[] = {
    {100, -70, 18, 10},  // girl
    {-60, -70, 15, 10},  // guy
    {80, 50, 25, 10},    // hero
    {-200, -250, 18, 8}, // cactus
    {120, -45, 18, 8},   // cactus by the girl
    {100, -60, 18, 8},   // rake
    {-50, -150, 18, 14}, // rock
    {-60, -50, 15, 18},  // wagon
    {80, -150, 20, 24},  // house
    // The lyre stands in a hollow with the fountain, which plays from (60, 24, 51) down to
    // about y = 19: higher sand would hide it.
    {60, 45, 18, 6},    // lyre
    {60, 51, 18, 4},    // fountain
    {71, 50, 25, 3},    // the hero's side of the hollow
    {262, -62, 20, 36}, // big rock
    // The script's last camera stands 20 up at (0, 15) looking along +x to the big rock: a low
    // valley keeps the sand under its eye and the rock in sight.
    {0, 15, 13, 30},
    {70, 8, 13, 10},
    {140, 8, 14, 10},
    {200, 0, 16, 10},
};

static const FenceRun FENCES[] = {
    {-150, -244, 120, -244, 20},  // north, rows 12 to 14
    {-150, -240, -150, -150, 20}, // west, row 11
    {-150, -150, -150, -60, 15},  // row 15
    {-150, -60, -150, 30, 10},    // row 16
    {-150, 30, -60, 30, 10},      // south, rows 17 and 18
};

static const float PIN_POWER = 3; // inverse-distance weights: larger gives flatter pads
static const float FENCE_SAMPLE_STEP = 10;

// ---- helpers ----
static float pinnedHeight(float x, float z);
static float duneRelief(float x, float z);
static float quietMask(float x, float z);
static float distanceToSegment(float x, float z, const FenceRun& run);

// Inverse-distance blend of all pins and fence samples; exact at each of them.
static float pinnedHeight(float x, float z) {
    double weightSum = 0, heightSum = 0;
    auto addSample = [&](float px, float pz, float y) {
        double d2 = (double)(x - px) * (x - px) + (double)(z - pz) * (z - pz);
        double w = 1.0 / pow(d2 + 1e-6, PIN_POWER / 2);
        weightSum += w;
        heightSum += w * y;
    };
    for (const GroundPin& pin : PINS)
        addSample(pin.x, pin.z, pin.y);
    for (const FenceRun& run : FENCES) {
        float length = hypotf(run.x1 - run.x0, run.z1 - run.z0);
        int steps = (int)(length / FENCE_SAMPLE_STEP);
        // Interior samples only: where runs of different heights meet, the sand settles between.
        for (int i = 1; i < steps; i++) {
            float t = (float)i / steps;
            addSample(run.x0 + (run.x1 - run.x0) * t, run.z0 + (run.z1 - run.z0) * t, run.y);
        }
    }
    return (float)(heightSum / weightSum);
}

static float distanceToSegment(float x, float z, const FenceRun& run) {
    float dx = run.x1 - run.x0, dz = run.z1 - run.z0;
    float t = ((x - run.x0) * dx + (z - run.z0) * dz) / (dx * dx + dz * dz);
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    return hypotf(x - (run.x0 + dx * t), z - (run.z0 + dz * t));
}

// 0 on the pads and fence lines, rising to 1 away from them.
static float quietMask(float x, float z) {
    float mask = 1;
    for (const GroundPin& pin : PINS)
        mask *= smoothStep(pin.radius, pin.radius + 30, hypotf(x - pin.x, z - pin.z));
    for (const FenceRun& run : FENCES)
        mask *= smoothStep(3, 25, distanceToSegment(x, z, run));
    return mask;
}

// Dunes: crests across the wind with warped, uneven spacing. Toward the edges the sand falls
// away, so that from inside the scene the sky shows above the horizon.
static float duneRelief(float x, float z) {
    float warp = 30 * stb_perlin_noise3(x / 160, z / 160, 1.5f, 0, 0, 0);
    float phase = (x * 0.8f + z * 0.6f + warp) / 70;
    float crest = 1 - fabsf(sinf(phase * 3.14159265f)); // sharp crests, round troughs
    float wobble = stb_perlin_fbm_noise3(x / 90, z / 90, 7.5f, 2.0f, 0.5f, 3);
    // Distance to the nearest edge of the sand.
    float edge =
        fminf(fminf(x - DESERT_MIN_X, DESERT_MAX_X - x), fminf(z - DESERT_MIN_Z, DESERT_MAX_Z - z));
    float rim = 1 - smoothStep(0, 150, edge);
    return 7 * (1 - 0.5f * rim) * (crest * 1.2f + wobble * 1.5f - 0.6f) - 30 * rim * rim;
}

float sandHeight(float x, float z) {
    return pinnedHeight(x, z) + quietMask(x, z) * duneRelief(x, z);
}

Xform worldToZUpRow(float x, float y, float z, float angleZDegrees) {
    Xform toOrigin = xformTranslate(-x, -y, -z);
    // Undo the upright turn (model z is world up), then the turn about the model's own up axis.
    Xform upright = xformThen(toOrigin, xformRotateX(90));
    return xformThen(upright, xformRotateZ(-angleZDegrees));
}
