// The skyline: flat-topped mesas and narrow buttes far out on the plain, each a few dozen
// triangles, seen through the haze as pale silhouettes on the horizon in every direction.
#include "skyline.h"

#include <cmath>

#include "terrain.h"

static const int LANDFORMS = 22;
static const int SIDES = 9;                          // corners around each landform
static const float CENTRE_X = 25, CENTRE_Z = -100;   // middle of the detailed sand
static const float NEAREST = 5000, FARTHEST = 13000; // units from the centre
static const float SUNK = 20;                        // the foot lies this far under the sand
static const float TALUS_SHARE = 0.3f;               // of the height: the scree slope at the foot
static const float TALUS_SPREAD = 1.3f;              // foot's radius over the cliff's
static const float TOP_SHRINK = 0.9f;                // top edge's radius over the cliff foot's
static const float TEXTURE_TILE = 90;                // as the sand's

// ---- helpers ----
static float hashUnit(int a, int b);
static void addLandform(ModelMesh& world, float x, float z, float radius, float height, int seed);

// A repeatable value in 0..1 for two integers.
static float hashUnit(int a, int b) {
    float s = sinf(a * 127.1f + b * 311.7f) * 43758.5453f;
    return s - floorf(s);
}

// Corners on three levels (foot, cliff foot, top edge). The scree slope and the flat top take the
// sand's mapping, each on vertices of its own, so that the top stays level under the vertex
// normals; the cliffs run the texture along the side and up, their seam on a vertex of its own.
static void addLandform(ModelMesh& world, float x, float z, float radius, float height, int seed) {
    float base = sandHeight(x, z) - SUNK;
    const float levels[3] = {base, base + SUNK + height * TALUS_SHARE, base + SUNK + height};
    const float spreads[3] = {TALUS_SPREAD, 1, TOP_SHRINK};
    float cornerX[3][SIDES + 1], cornerZ[3][SIDES + 1], along[SIDES + 1];
    for (int k = 0; k <= SIDES; k++) {
        int corner = k % SIDES;
        float angle = 6.2831853f * (corner + 0.4f * hashUnit(seed, corner)) / SIDES;
        float r = radius * (0.75f + 0.5f * hashUnit(seed, corner + 50));
        for (int level = 0; level < 3; level++) {
            cornerX[level][k] = x + cosf(angle) * r * spreads[level];
            cornerZ[level][k] = z + sinf(angle) * r * spreads[level];
        }
        along[k] = k == 0 ? 0
                          : along[k - 1] + hypotf(cornerX[1][k] - cornerX[1][k - 1],
                                                  cornerZ[1][k] - cornerZ[1][k - 1]);
    }
    auto level = [&](int l, bool cliff, int ring[SIDES + 1]) {
        for (int k = 0; k <= SIDES; k++) {
            float px = cornerX[l][k], pz = cornerZ[l][k];
            float u = cliff ? along[k] / TEXTURE_TILE : px / TEXTURE_TILE;
            float v = cliff ? levels[l] / TEXTURE_TILE : -pz / TEXTURE_TILE;
            ring[k] = addVertex(world, px, levels[l], pz, u, v);
        }
    };
    int foot[SIDES + 1], screeTop[SIDES + 1], cliffFoot[SIDES + 1], cliffTop[SIDES + 1],
        top[SIDES + 1];
    level(0, false, foot);
    level(1, false, screeTop);
    level(1, true, cliffFoot);
    level(2, true, cliffTop);
    level(2, false, top);
    // Corners run counter-clockwise seen from above: outward faces wind as below.
    for (int k = 0; k < SIDES; k++) {
        addQuad(world, foot[k], screeTop[k], screeTop[k + 1], foot[k + 1]);
        addQuad(world, cliffFoot[k], cliffTop[k], cliffTop[k + 1], cliffFoot[k + 1]);
    }
    // A fan from the middle: the corners' radii vary, so the outline need not be convex.
    int middle = addVertex(world, x, levels[2], z, x / TEXTURE_TILE, -z / TEXTURE_TILE);
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
