// A saguaro: ribbed trunk with two upturned arms, y up with its foot at y = 0.
#include <cmath>

#include "assetCatalog.h"
#include "texturePaint.h"

static const int RIBS = 10;
static const int SEGMENTS = 10;

// ---- helpers ----
static void addRibs(ModelMesh& mesh, size_t first, float axisX, float axisZ);
static void addArm(ModelMesh& mesh, float side, float startY, float reach, float rise,
                   float radius);

// Fluting: vertices move in and out with the angle around the part's vertical axis.
static void addRibs(ModelMesh& mesh, size_t first, float axisX, float axisZ) {
    for (size_t i = first; i < mesh.vertices.size(); i++) {
        MeshVertex& v = mesh.vertices[i];
        float dx = v.x - axisX, dz = v.z - axisZ;
        float a = atan2f(dz, dx);
        float f = 1 + 0.1f * cosf(a * RIBS);
        v.x = axisX + dx * f;
        v.z = axisZ + dz * f;
    }
}

// An arm leaves the trunk sideways (side = +1 or -1 along x), bends and grows straight up.
static void addArm(ModelMesh& mesh, float side, float startY, float reach, float rise,
                   float radius) {
    std::vector<float> points, radii;
    const int steps = 6;
    for (int i = 0; i <= steps; i++) {
        float a = 1.5707963f * i / steps; // quarter circle from sideways to upward
        points.push_back(side * (reach * (1 - cosf(a))));
        points.push_back(startY + reach * sinf(a) * 0.9f);
        points.push_back(0);
        radii.push_back(radius);
    }
    points.push_back(side * reach);
    points.push_back(startY + reach * 0.9f + rise);
    points.push_back(0);
    radii.push_back(radius * 0.9f);
    ModelMesh arm;
    makeTube(arm, points, radii, SEGMENTS, UvRect{0, 0, 1, 1});
    appendMesh(mesh, arm, xformIdentity());
    // A rounded tip.
    ModelMesh tip;
    makeEllipsoid(tip, radius * 0.9f, radius * 0.8f, radius * 0.9f, SEGMENTS, 4,
                  UvRect{0, 0.8f, 1, 1});
    appendMesh(mesh, tip, xformTranslate(side * reach, startY + reach * 0.9f + rise, 0));
}

void buildCactusModel(ModelMesh& mesh) {
    makeLathe(mesh, {1.3f, 1.35f, 1.3f, 1.2f, 1.05f, 0.7f, 0},
              {-1.5f, 0, 6, 11, 13.2f, 14.2f, 14.7f}, SEGMENTS * 2, UvRect{0, 0, 1, 1});
    addRibs(mesh, 0, 0, 0);
    addArm(mesh, 1, 5.0f, 3.0f, 3.0f, 0.75f);
    ModelMesh left;
    addArm(left, -1, 7.0f, 2.4f, 2.2f, 0.65f);
    appendMesh(mesh, left, xformRotateY(20));
    ModelMesh back; // a young arm toward the back
    addArm(back, 1, 8.5f, 1.8f, 1.2f, 0.55f);
    appendMesh(mesh, back, xformRotateY(100));
}

void paintCactusTexture(Image& image) {
    const Rgb green = {0.28f, 0.50f, 0.24f}, deep = {0.12f, 0.30f, 0.14f};
    const Rgb spine = {0.93f, 0.90f, 0.72f};
    for (int y = 0; y < image.height; y++) {
        for (int x = 0; x < image.width; x++) {
            float u = (float)x / image.width, v = (float)y / image.height;
            // Ribs run along v: dark grooves between lighter ridges.
            float rib = cosf(u * RIBS * 6.2831853f);
            float mottle = tileNoise(u, v, 8, 4, 31);
            Rgb c = rgbMix(deep, green, 0.5f + 0.45f * rib + 0.15f * mottle);
            // Spine clusters along each ridge.
            float ridgeU = fmodf(u * RIBS, 1.0f);
            int row = (int)(v * 48);
            float inRow = v * 48 - row;
            if (fabsf(ridgeU - 0.0f) < 0.06f || fabsf(ridgeU - 1.0f) < 0.06f) {
                if (inRow < 0.22f)
                    c = rgbMix(c, spine, 0.85f);
            }
            imagePut(image, x, y, c);
        }
    }
}
