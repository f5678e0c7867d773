// The small rock by the pen, the big rock the bird perches on, and their shared stone texture.
#include <cmath>
#include <stb_perlin.h>

#include "assetCatalog.h"
#include "terrain.h"
#include "texturePaint.h"

static const float BIG_ROCK_X = 265, BIG_ROCK_Z = -60; // world centre of the butte
static const float PERCH_Y = 50; // the bird stands on the flat top at world (280, 50, -50)

// ---- helpers ----
static void roughen(ModelMesh& mesh, float scale, float amount, float keepTopAbove, int seed);
static void cleave(ModelMesh& mesh, float nx, float ny, float nz, float distance);

// Pushes every vertex in or out along its direction from the y axis by fractal noise; vertices
// above keepTopAbove only move sideways so a flat top stays flat.
static void roughen(ModelMesh& mesh, float scale, float amount, float keepTopAbove, int seed) {
    for (MeshVertex& v : mesh.vertices) {
        float n =
            stb_perlin_fbm_noise3(v.x / scale, v.y / scale, v.z / scale + seed, 2.0f, 0.5f, 4);
        float r = hypotf(v.x, v.z);
        if (r > 1e-4f) {
            float f = 1 + amount * n;
            v.x *= f;
            v.z *= f;
        }
        if (v.y < keepTopAbove)
            v.y += amount * scale * 0.3f * n;
    }
}

// Cuts the mesh flat where it reaches past a plane (unit normal n, at distance from the origin):
// the broken face of a boulder.
static void cleave(ModelMesh& mesh, float nx, float ny, float nz, float distance) {
    for (MeshVertex& v : mesh.vertices) {
        float d = v.x * nx + v.y * ny + v.z * nz - distance;
        if (d > 0) {
            v.x -= d * nx;
            v.y -= d * ny;
            v.z -= d * nz;
        }
    }
}

void buildRockModel(ModelMesh& mesh) {
    // A boulder half sunk into the sand at its row's spot.
    const float x = -50, y = 20, z = -150;
    ModelMesh rock;
    makeEllipsoid(rock, 9, 6.5f, 7, 24, 13, FULL_UV);
    roughen(rock, 6, 0.25f, 100, 3);
    cleave(rock, 0.58f, 0.58f, 0.58f, 5.2f);
    cleave(rock, -0.7f, 0.5f, -0.5f, 5.6f);
    cleave(rock, 0.0f, 1.0f, 0.0f, 5.5f);
    // Strata follow the height, so they lie level across the broken faces.
    for (MeshVertex& v : rock.vertices) {
        v.u *= 3;
        v.v = v.y / 18 + 0.3f;
    }
    ModelMesh world;
    appendMesh(world, rock,
               xformThen(xformRotateY(25), xformTranslate(x, sandHeight(x, z) - 1, z)));
    appendMesh(mesh, world, worldToZUpRow(x, y, z, 0));
}

void buildBigRockModel(ModelMesh& mesh) {
    // A butte: steep banded sides and a flat top at the perch's height.
    float ground = sandHeight(BIG_ROCK_X, BIG_ROCK_Z);
    float top = PERCH_Y - ground;
    std::vector<float> radii = {46, 44, 40, 37, 35, 34, 32, 31, 29.5f, 28.5f, 28, 27};
    std::vector<float> heights;
    for (size_t i = 0; i < radii.size(); i++)
        heights.push_back(-8 + (top + 8) * i / (radii.size() - 1));
    ModelMesh butte;
    makeLathe(butte, radii, heights, 40, UvRect{0, 0, 6, 1.2f});
    // The top is its own disc, mapped from above so its texture is not pinched at the centre.
    ModelMesh cap;
    makeLathe(cap, {27, 20, 12, 5, 0}, {top, top, top, top, top}, 40, FULL_UV);
    for (MeshVertex& v : cap.vertices) {
        v.u = v.x / 40;
        v.v = v.z / 40;
    }
    appendMesh(butte, cap, xformIdentity());
    roughen(butte, 14, 0.14f, top - 0.5f, 7);
    ModelMesh world;
    appendMesh(world, butte, xformTranslate(BIG_ROCK_X, ground, BIG_ROCK_Z));
    appendMesh(mesh, world, worldToZUpRow(250, 20, -70, 90));
}

void paintRockTexture(Image& image) {
    // Sandstone: broad warped strata from cream to deep red, pitted grain, dark streaks of
    // desert varnish running down.
    const Rgb strata[] = {{0.82f, 0.66f, 0.48f},
                          {0.66f, 0.38f, 0.24f},
                          {0.75f, 0.53f, 0.36f},
                          {0.50f, 0.28f, 0.19f},
                          {0.88f, 0.75f, 0.58f}};
    const int layers = sizeof strata / sizeof strata[0];
    for (int y = 0; y < image.height; y++) {
        for (int x = 0; x < image.width; x++) {
            float u = (float)x / image.width, v = (float)y / image.height;
            float warp = tileNoise(u, v, 2, 3, 21);
            float depth = v * 2 + warp * 0.45f + 0.06f * tileNoise(u, v, 16, 2, 22);
            float layer = (depth - floorf(depth)) * layers;
            int i = (int)layer % layers;
            float blend = smoothStep(0.55f, 1.0f, layer - floorf(layer));
            Rgb layerColour = rgbMix(strata[i], strata[(i + 1) % layers], blend);
            // Strata show through a common stone colour, broken up by large blotches.
            float blotch = tileNoise(u, v, 4, 4, 26);
            Rgb c = rgbMix(Rgb{0.68f, 0.47f, 0.33f}, layerColour, 0.45f + 0.3f * blotch);
            float varnish = tileNoise2(u, v, 24, 2, 3, 23);
            c = rgbMix(c, Rgb{0.28f, 0.18f, 0.14f}, 0.7f * smoothStep(0.2f, 0.55f, varnish));
            float pits = tileNoise(u, v, 64, 2, 24);
            c = rgbScale(c, 1 + 0.22f * pits + 0.12f * tileNoise(u, v, 8, 3, 25));
            if (pits < -0.45f)
                c = rgbScale(c, 0.7f);
            imagePut(image, x, y, c);
        }
    }
}
