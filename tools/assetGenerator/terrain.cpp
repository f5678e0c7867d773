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

// Within this distance of the edge of the detailed sand, the dunes lower and the sand settles
// toward the outer level; beyond the edge the dunes die out within DUNE_FADE, where the rings
// grow too coarse to carry them.
static const float RIM_WIDTH = 150;
static const float DUNE_FADE = 150;
static const float OUTER_DUNE_SCALE = 0.4f; // dune height at the edge, relative to the scene's

// The script's last two shots travel as far as the frame rate takes them, level: 30 up along
// x = 60 from z = -40 on, then 20 up at (b, 15 + a) for a frames in its 20th and 21st seconds and
// b in its 22nd and 23rd. At a steady rate a = b: the wedge x >= 0, z >= x + 15. A loaded software
// renderer runs slowly and unevenly (the fountain fills the view in the 20th and 21st seconds: the
// reel has run 4 frames a second there, then 13): the box of a up to 30 and b up to 26 covers
// that. Larger b with small a would bring the eye within 20 of the lyre's hollow, whose rim stays
// at the lyre's 18. Within NEAR_REACH of these places the sand stays CAMERA_CLEARANCE below the
// eyes, so that the lowest rows of the view meet it beyond the near plane (10 ahead, 4.1 below
// the eye at the bottom edge).
struct Area {
    float x0, x1, z0, z1;
};
static const Area SLOW_FINAL_EYES[] = {{0, 26, 15, 45}};
static const float CAMERA_CLEARANCE = 5;
static const float NEAR_REACH = 16; // the near plane's reach and some of a grid cell
static const float FINAL_EYE_HEIGHT = 20, TRAVEL_EYE_HEIGHT = 30;
static const float CAP_SLOPE = 2;        // farther out the cap rises this much per unit
static const float CAP_SMOOTHING = 2.0f; // heights this close to the cap are rounded into it

// ---- helpers ----
static float pinnedHeight(float x, float z);
static float duneShape(float x, float z);
static float relief(float x, float z);
static float quietMask(float x, float z);
static float edgeDistance(float x, float z);
static float distanceToSegment(float x, float z, const FenceRun& run);
static float distanceToRay(float x, float z, float x0, float z0, float dx, float dz);
static float cameraPathCap(float x, float z);
static float smoothMin(float a, float b, float k);

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

// (dx, dz) of unit length.
static float distanceToRay(float x, float z, float x0, float z0, float dx, float dz) {
    float t = fmaxf(0, (x - x0) * dx + (z - z0) * dz);
    return hypotf(x - (x0 + dx * t), z - (z0 + dz * t));
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

// Distance to the nearest edge of the detailed sand: positive inside, negative beyond. Its level
// lines are the outer rings.
static float edgeDistance(float x, float z) {
    return fminf(fminf(x - DESERT_MIN_X, DESERT_MAX_X - x),
                 fminf(z - DESERT_MIN_Z, DESERT_MAX_Z - z));
}

// Crests across the wind with warped, uneven spacing.
static float duneShape(float x, float z) {
    float warp = 30 * stb_perlin_noise3(x / 160, z / 160, 1.5f, 0, 0, 0);
    float phase = (x * 0.8f + z * 0.6f + warp) / 70;
    float crest = 1 - fabsf(sinf(phase * 3.14159265f)); // sharp crests, round troughs
    float wobble = stb_perlin_fbm_noise3(x / 90, z / 90, 7.5f, 2.0f, 0.5f, 3);
    return 7 * (crest * 1.2f + wobble * 1.5f - 0.6f);
}

// The dunes at full height in the scene, lower toward its edge, gone a little beyond it. Beyond
// the edge broad, low swells, each fading out where the rings no longer resolve it.
static float relief(float x, float z) {
    float edge = edgeDistance(x, z);
    float inside = smoothStep(0, RIM_WIDTH, edge);
    float outside = fmaxf(0, -edge);
    float duneScale = OUTER_DUNE_SCALE + (1 - OUTER_DUNE_SCALE) * inside;
    float dunes = duneShape(x, z) * duneScale * (1 - smoothStep(0, DUNE_FADE, outside));
    float swells = 2.0f * stb_perlin_noise3(x / 500, z / 500, 3.5f, 0, 0, 0) *
                   (1 - smoothStep(300, 900, outside));
    float broad = 1.5f * stb_perlin_noise3(x / 4000, z / 4000, 5.5f, 0, 0, 0) *
                  (1 - smoothStep(2000, 8000, outside));
    return dunes + (1 - inside) * (swells + broad);
}

// Highest the sand may rise at (x, z): low under the script's travelling eyes, higher
// away from their paths.
static float cameraPathCap(float x, float z) {
    const float diagonal = 0.70710678f;
    bool inWedge = x >= 0 && z - x >= 15;
    float toWedge = inWedge ? 0
                            : fminf(distanceToRay(x, z, 0, 15, 0, 1),
                                    distanceToRay(x, z, 0, 15, diagonal, diagonal));
    float toFinal = toWedge;
    for (const Area& area : SLOW_FINAL_EYES) {
        float dx = fmaxf(fmaxf(area.x0 - x, x - area.x1), 0);
        float dz = fmaxf(fmaxf(area.z0 - z, z - area.z1), 0);
        toFinal = fminf(toFinal, hypotf(dx, dz));
    }
    float toTravel = distanceToRay(x, z, 60, -40, 0, 1);
    return fminf(FINAL_EYE_HEIGHT - CAMERA_CLEARANCE + CAP_SLOPE * fmaxf(0, toFinal - NEAR_REACH),
                 TRAVEL_EYE_HEIGHT - CAMERA_CLEARANCE +
                     CAP_SLOPE * fmaxf(0, toTravel - NEAR_REACH));
}

// min(a, b), rounded where they are within k of each other; exact beyond.
static float smoothMin(float a, float b, float k) {
    float h = fmaxf(k - fabsf(a - b), 0) / k;
    return fminf(a, b) - h * h * k / 4;
}

float sandHeight(float x, float z) {
    float inside = smoothStep(0, RIM_WIDTH, edgeDistance(x, z));
    float quiet = quietMask(x, z);
    // Pads and fence lines keep their pinned height even near the edge; elsewhere the sand
    // settles to the outer level toward the edge and stays there beyond it.
    float core = 1 - (1 - inside) * quiet;
    float base = OUTER_LEVEL;
    if (core > 0)
        base += (pinnedHeight(x, z) - OUTER_LEVEL) * core;
    return smoothMin(base + quiet * relief(x, z), cameraPathCap(x, z), CAP_SMOOTHING);
}

Xform worldToZUpRow(float x, float y, float z, float angleZDegrees) {
    Xform toOrigin = xformTranslate(-x, -y, -z);
    // Undo the upright turn (model z is world up), then the turn about the model's own up axis.
    Xform upright = xformThen(toOrigin, xformRotateX(90));
    return xformThen(upright, xformRotateZ(-angleZDegrees));
}
