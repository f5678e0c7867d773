// The wooden hay rake: handle along the model's (1, 0, 1) diagonal, head with pegs at the -x, -z
// end. The scene turns it so the pegs rest near the sand about 7 below its origin.
#include "../assetCatalog.h"
#include "paintBrushes.h"
#include "smoothSurfaces.h"

#include <cmath>

// ---- helpers ----
static Point3 alongHandle(float t, float across, float drop);
static void pushPoint(std::vector<float>& points, Point3 p);
static Rgb woodGrain(Rgb base, float u, float v, float seed);

static const int WOOD_TEXTURE_SIZE = 256;
static const AtlasCell HANDLE_CELL = {0, 0, 128, 256};
static const AtlasCell HEAD_CELL = {128, 0, 128, 256};
// The handle runs at this model height so that the turned rake's pegs reach the sand.
static const float HANDLE_Y = -3.4f;
static const float HEAD_T = -8.5f; // distance of the head along the handle from the origin
static const float GRIP_T = 7.0f;  // distance of the grip end
static const int PEG_COUNT = 11;

// Point at distance t along the handle, moved across it (along (1, 0, -1)) and down.
static Point3 alongHandle(float t, float across, float drop) {
    const float s = 0.70710678f;
    return Point3{(t + across) * s, HANDLE_Y - drop, (t - across) * s};
}

static void pushPoint(std::vector<float>& points, Point3 p) {
    points.insert(points.end(), {p.x, p.y, p.z});
}

void buildRakeModel(ModelMesh& mesh) {
    UvRect handleUv = cellUv(WOOD_TEXTURE_SIZE, HANDLE_CELL),
           headUv = cellUv(WOOD_TEXTURE_SIZE, HEAD_CELL);
    std::vector<float> handle;
    for (int i = 0; i <= 5; i++)
        pushPoint(handle, alongHandle(HEAD_T + (GRIP_T - HEAD_T) * i / 5, 0, 0));
    makeSmoothTube(mesh, handle, {0.17f, 0.17f, 0.16f, 0.15f, 0.15f, 0.16f}, 12, handleUv);
    // Cross bar, square across the handle.
    ModelMesh bar;
    makeBox(bar, 4.2f, 0.36f, 0.46f, headUv);
    Point3 centre = alongHandle(HEAD_T, 0, 0.05f);
    appendMesh(mesh, bar,
               xformThen(xformRotateY(45), xformTranslate(centre.x, centre.y, centre.z)));
    // Pegs hang from the bar, tapering to blunt points.
    for (int i = 0; i < PEG_COUNT; i++) {
        float across = -1.9f + 3.8f * i / (PEG_COUNT - 1);
        std::vector<float> peg;
        pushPoint(peg, alongHandle(HEAD_T, across, 0.1f));
        pushPoint(peg, alongHandle(HEAD_T + 0.05f, across, 0.7f));
        pushPoint(peg, alongHandle(HEAD_T + 0.15f, across, 1.3f));
        makeSmoothTube(mesh, peg, {0.09f, 0.075f, 0.045f}, 6, headUv);
    }
    // Two bows brace the bar against the handle.
    for (int side = -1; side <= 1; side += 2) {
        std::vector<float> bow;
        for (int i = 0; i <= 4; i++) {
            float t = i / 4.0f;
            pushPoint(bow, alongHandle(HEAD_T + 1.9f * t, side * 1.4f * (1 - t) * (1 - t * 0.3f),
                                       -0.12f * sinf(t * 3.14159265f)));
        }
        makeSmoothTube(mesh, bow, {0.08f, 0.075f, 0.07f, 0.07f, 0.08f}, 6, headUv);
    }
}

static Rgb woodGrain(Rgb base, float u, float v, float seed) {
    // Grain lines run along v; noise bends them and knots interrupt them.
    float warp = 2.5f * seamlessFbm(u, v, 2, 1.5f, seed, 3);
    float rings = 0.5f + 0.5f * sinf((u * 9.0f + warp) * 2 * 3.14159265f);
    float fine = seamlessNoise(u, v, 64, 6.0f, seed + 3);
    Rgb c = rgbScale(base, 0.84f + 0.16f * rings + 0.05f * fine);
    float knot = ellipseCoverage(u, v, 0.35f, 0.62f, 0.06f, 0.03f, 0.8f);
    return rgbMix(c, rgbScale(base, 0.45f), 0.7f * knot);
}

void paintWoodTexture(Image& image) {
    imageCreate(image, WOOD_TEXTURE_SIZE, WOOD_TEXTURE_SIZE);
    paintCell(image, HANDLE_CELL, [](float u, float v) {
        // Ash, polished darker where hands hold it near the grip end.
        Rgb c = woodGrain(Rgb{0.72f, 0.56f, 0.36f}, u, v, 1.0f);
        return rgbScale(c, 1.0f - 0.15f * smoothStep(0.7f, 0.95f, v));
    });
    paintCell(image, HEAD_CELL, [](float u, float v) {
        return woodGrain(Rgb{0.55f, 0.38f, 0.22f}, u, v, 7.0f);
    });
}
