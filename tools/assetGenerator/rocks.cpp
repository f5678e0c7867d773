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

void buildRockModel(ModelMesh& mesh) {
    // A boulder half sunk into the sand at its row's spot.
    const float x = -50, y = 20, z = -150;
    ModelMesh rock;
    makeEllipsoid(rock, 9, 6.5f, 7, 24, 13, UvRect{0, 0, 3, 2});
    roughen(rock, 6, 0.25f, 100, 3);
    ModelMesh world;
    appendMesh(world, rock,
               xformThen(xformRotateY(25), xformTranslate(x, sandHeight(x, z) - 1, z)));
    appendMesh(mesh, world, worldToZUpRow(x, y, z, 0));
}

void buildBigRockModel(ModelMesh& mesh) {
    // A butte: steep banded sides and a flat top at the perch's height.
    float ground = sandHeight(BIG_ROCK_X, BIG_ROCK_Z);
    float top = PERCH_Y - ground;
    std::vector<float> radii = {46, 44, 40, 37, 35, 34, 32, 31, 29.5f, 28.5f, 28, 27, 0};
    std::vector<float> heights;
    for (size_t i = 0; i + 1 < radii.size(); i++)
        heights.push_back(-8 + (top + 8) * i / (radii.size() - 2));
    heights.push_back(top);
    ModelMesh butte;
    makeLathe(butte, radii, heights, 40, UvRect{0, 0, 8, 2.5f});
    roughen(butte, 14, 0.14f, top - 0.5f, 7);
    ModelMesh world;
    appendMesh(world, butte, xformTranslate(BIG_ROCK_X, ground, BIG_ROCK_Z));
    appendMesh(mesh, world, worldToZUpRow(250, 20, -70, 90));
}

void paintRockTexture(Image& image) {
    const Rgb stone = {0.62f, 0.42f, 0.30f}, dark = {0.36f, 0.23f, 0.17f};
    const Rgb light = {0.80f, 0.62f, 0.46f};
    for (int y = 0; y < image.height; y++) {
        for (int x = 0; x < image.width; x++) {
            float u = (float)x / image.width, v = (float)y / image.height;
            float warp = tileNoise(u, v, 4, 3, 21);
            // Sandstone strata: horizontal bands bent by the warp.
            float band = sinf((v * 9 + warp * 0.8f) * 6.2831853f);
            float blotch = tileNoise(u, v, 8, 5, 22);
            float crack = fabsf(tileNoise(u, v, 16, 3, 23));
            Rgb c = rgbMix(stone, band > 0 ? light : dark, fabsf(band) * 0.35f);
            c = rgbMix(c, dark, 0.3f + 0.3f * blotch);
            if (crack < 0.03f)
                c = rgbScale(dark, 0.6f);
            c = rgbScale(c, 1 + 0.15f * tileNoise(u, v, 128, 2, 24));
            imagePut(image, x, y, c);
        }
    }
}
