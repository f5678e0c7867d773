// The skyline: flat-topped mesas and narrow buttes far out on the plain, each 21 triangles, seen
// through the haze as pale silhouettes on the horizon in every direction.
#include "skyline.h"

#include <cmath>

#include "terrain.h"

static const int LANDFORMS = 18;
static const int SIDES = 7;                          // corners around each landform
static const float CENTRE_X = 25, CENTRE_Z = -100;   // middle of the detailed sand
static const float NEAREST = 5000, FARTHEST = 13000; // units from the centre
static const float SUNK = 20;                        // the foot lies this far under the sand
static const float TOP_SHRINK = 0.8f;                // top edge's radius over the foot's
static const float TEXTURE_TILE = 90;                // as the sand's

// ---- helpers ----
static float hashUnit(int a, int b);
static void addLandform(ModelMesh& world, float x, float z, float radius, float height, int seed);

// A repeatable value in 0..1 for two integers.
static float hashUnit(int a, int b) {
    float s = sinf(a * 127.1f + b * 311.7f) * 43758.5453f;
    return s - floorf(s);
}

// Corners at the foot and at the top edge: sloping cliffs that run the texture along the side and
// up, their seam on a vertex of its own, and a flat top of its own vertices in the sand's mapping,
// so that it stays level under the vertex normals.
static void addLandform(ModelMesh& world, float x, float z, float radius, float height, int seed) {
    float base = sandHeight(x, z) - SUNK;
    const float levels[2] = {base, base + SUNK + height};
    const float spreads[2] = {1, TOP_SHRINK};
    float cornerX[2][SIDES + 1], cornerZ[2][SIDES + 1], along[SIDES + 1];
    for (int k = 0; k <= SIDES; k++) {
        int corner = k % SIDES;
        float angle = 6.2831853f * (corner + 0.4f * hashUnit(seed, corner)) / SIDES;
        float r = radius * (0.75f + 0.5f * hashUnit(seed, corner + 50));
        for (int level = 0; level < 2; level++) {
            cornerX[level][k] = x + cosf(angle) * r * spreads[level];
            cornerZ[level][k] = z + sinf(angle) * r * spreads[level];
        }
        along[k] = k == 0 ? 0
                          : along[k - 1] + hypotf(cornerX[0][k] - cornerX[0][k - 1],
                                                  cornerZ[0][k] - cornerZ[0][k - 1]);
    }
    auto ring = [&](int l, bool cliff, int out[SIDES + 1]) {
        for (int k = 0; k <= SIDES; k++) {
            float px = cornerX[l][k], pz = cornerZ[l][k];
            float u = cliff ? along[k] / TEXTURE_TILE : px / TEXTURE_TILE;
            float v = cliff ? levels[l] / TEXTURE_TILE : -pz / TEXTURE_TILE;
            out[k] = addVertex(world, px, levels[l], pz, u, v);
        }
    };
    int foot[SIDES + 1], edge[SIDES + 1], top[SIDES + 1];
    ring(0, true, foot);
    ring(1, true, edge);
    ring(1, false, top);
    // Corners run clockwise seen from above (the angle turns from +x toward +z, y up): foot, edge,
    // next edge, next foot is counter-clockwise seen from outside, so each cliff faces outward.
    for (int k = 0; k < SIDES; k++)
        addQuad(world, foot[k], edge[k], edge[k + 1], foot[k + 1]);
    // A fan from the middle: the corners' radii vary, so the outline need not be convex.
    int middle = addVertex(world, x, levels[1], z, x / TEXTURE_TILE, -z / TEXTURE_TILE);
    for (int k = 0; k < SIDES; k++)
        addTriangle(world, middle, top[k + 1], top[k]);
}

void addSkyline(ModelMesh& world) {
    for (int i = 0; i < LANDFORMS; i++) {
        float angle = 6.2831853f * (i + 0.6f * hashUnit(i, 7)) / LANDFORMS;
        float distance = NEAREST + (FARTHEST - NEAREST) * hashUnit(i, 8);
        float x = CENTRE_X + cosf(angle) * distance, z = CENTRE_Z + sinf(angle) * distance;
        // Every third one a butte: narrow and tall; the rest broad mesas.
        bool butte = i % 3 == 1;
        float scale = distance / NEAREST; // farther ones larger, so that none is lost
        float radius = (butte ? 160 : 500 + 500 * hashUnit(i, 9)) * scale;
        float height = (butte ? 380 : 220 + 200 * hashUnit(i, 10)) * scale;
        addLandform(world, x, z, radius, height, i);
    }
}
