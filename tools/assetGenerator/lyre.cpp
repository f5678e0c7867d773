// A lyre standing on its sound box: two curved arms, a crossbar and seven strings, z up.
#include <cmath>

#include "assetCatalog.h"
#include "terrain.h"
#include "texturePaint.h"

static const UvRect WOOD_UV = {0, 0, 0.5f, 1};
static const UvRect BRASS_UV = {0.5f, 0.5f, 1, 1};
static const UvRect STRING_UV = {0.5f, 0, 1, 0.5f};
static const int STRINGS = 7;

// ---- helpers ----
static void addArm(ModelMesh& mesh, float side);

// An arm rises from the sound box, bows outward and curls in at the top (y up, in the x-y plane).
static void addArm(ModelMesh& mesh, float side) {
    std::vector<float> points, radii;
    const int steps = 8;
    for (int i = 0; i <= steps; i++) {
        float t = (float)i / steps;
        points.push_back(side * (1.4f + 1.6f * sinf(t * 3.14159f * 0.9f) - 0.6f * t * t));
        points.push_back(1.6f + 5.2f * t);
        points.push_back(0);
        radii.push_back(0.32f - 0.1f * t);
    }
    makeTube(mesh, points, radii, 8, WOOD_UV);
}

void buildLyreModel(ModelMesh& mesh) {
    ModelMesh lyre; // y up, strings in the x-y plane, while building
    ModelMesh box;
    makeEllipsoid(box, 2.6f, 1.3f, 0.9f, 16, 8, WOOD_UV);
    appendMesh(lyre, box, xformTranslate(0, 1.3f, 0));
    addArm(lyre, 1);
    addArm(lyre, -1);
    ModelMesh bar;
    makeCylinder(bar, 0.22f, 0.22f, 5.0f, 8, BRASS_UV);
    appendMesh(lyre, bar, xformThen(xformRotateZ(-90), xformTranslate(-2.5f, 6.4f, 0)));
    for (int i = 0; i < STRINGS; i++) {
        float x = -1.2f + 2.4f * i / (STRINGS - 1);
        ModelMesh string;
        makeBox(string, 0.06f, 4.6f, 0.06f, STRING_UV);
        appendMesh(lyre, string, xformTranslate(x, 4.1f, 0));
    }
    convertYUpToZUp(lyre);
    // About 5.5 tall, a third of the hero beside it. The row stands 10 up; the sand there is
    // higher, so the lyre's foot is raised to it (a little into it, as it rests on its box).
    Xform place = xformThen(xformScale(0.8f, 0.8f, 0.8f),
                            xformTranslate(0, 0, sandHeight(60, 45) - 10 - 0.3f));
    appendMesh(mesh, lyre, place);
}

void paintLyreTexture(Image& image) {
    int half = image.width / 2;
    for (int y = 0; y < image.height; y++) {
        for (int x = 0; x < image.width; x++) {
            float u = (float)x / image.width, v = (float)y / image.height;
            Rgb c;
            if (x < half) {
                // Polished dark wood with flowing grain.
                float grain = sinf((u * 30 + tileNoise(u, v, 4, 3, 71) * 3) * 6.2831853f);
                c = rgbMix(Rgb{0.45f, 0.22f, 0.10f}, Rgb{0.25f, 0.11f, 0.05f}, 0.5f + 0.4f * grain);
            } else if (y >= image.height / 2) {
                float n = tileNoise(u, v, 16, 3, 72);
                c = rgbMix(Rgb{0.85f, 0.66f, 0.25f}, Rgb{0.55f, 0.38f, 0.12f}, 0.5f + 0.5f * n);
            } else {
                c = Rgb{0.92f, 0.88f, 0.78f}; // gut strings
            }
            imagePut(image, x, y, c);
        }
    }
}
