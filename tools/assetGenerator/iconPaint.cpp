#include "iconPaint.h"

#include <cmath>
#include <cstdio>
#include <stb_image_write.h>

#include "assetCatalog.h"
#include "texturePaint.h"

// The picture lives in a unit square, y up; these are its pieces in those units.
static const float MARGIN = 0.03f, CORNER = 0.17f; // the rounded square
static const Rgb SKY_TOP = {0.53f, 0.81f, 1.0f};   // the demo's clear colour
static const Rgb SKY_LOW = {0.86f, 0.93f, 0.98f};  // haze at the horizon
static const Rgb SUN = {1.0f, 0.94f, 0.70f};
static const float SUN_X = 0.72f, SUN_Y = 0.74f, SUN_R = 0.10f;
static const float CACTUS_X = 0.36f, TRUNK_HALF = 0.055f, ARM_HALF = 0.04f;
static const int SUPERSAMPLE = 4; // per axis
static const int TEXTURE_SIZE = 256;

struct IconTextures {
    Image sand;
    Image cactus;
};

// ---- helpers ----
static float clamp01(float x);
static Rgb sample(const Image& image, float u, float v);
static float roundedSquareCoverage(float x, float y, float pixel);
static bool inBox(float x, float y, float x0, float y0, float x1, float y1, float radius);
static bool inCactus(float x, float y, float& acrossU);
static Rgb sceneColour(const IconTextures& textures, float x, float y);

static float clamp01(float x) {
    return x < 0 ? 0 : (x > 1 ? 1 : x);
}

// Nearest texel; u and v wrap, as the scene's textures repeat.
static Rgb sample(const Image& image, float u, float v) {
    int x = (int)floorf((u - floorf(u)) * image.width) % image.width;
    int y = (int)floorf((v - floorf(v)) * image.height) % image.height;
    const unsigned char* p = &image.rgb[((size_t)y * image.width + x) * 3];
    return Rgb{p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f};
}

// 0..1: how much of a pixel around (x, y) lies inside the rounded square; a one-pixel ramp at
// the edge so the outline is smooth at every size.
static float roundedSquareCoverage(float x, float y, float pixel) {
    float half = 0.5f - MARGIN - CORNER;
    float dx = fmaxf(fabsf(x - 0.5f) - half, 0), dy = fmaxf(fabsf(y - 0.5f) - half, 0);
    float outside = sqrtf(dx * dx + dy * dy) - CORNER;
    return clamp01(0.5f - outside / pixel);
}

// A box [x0, x1] x [y0, y1] whose top corners are rounded with radius.
static bool inBox(float x, float y, float x0, float y0, float x1, float y1, float radius) {
    if (x < x0 || x > x1 || y < y0 || y > y1)
        return false;
    float top = y1 - radius;
    if (y <= top)
        return true;
    float cx = fminf(fmaxf(x, x0 + radius), x1 - radius);
    return (x - cx) * (x - cx) + (y - top) * (y - top) <= radius * radius;
}

// A saguaro: trunk and two arms. acrossU runs 0..1 across the limb that was hit, so the
// texture's ribs run along each limb.
static bool inCactus(float x, float y, float& acrossU) {
    float t0 = CACTUS_X - TRUNK_HALF, t1 = CACTUS_X + TRUNK_HALF;
    if (inBox(x, y, t0, 0.18f, t1, 0.70f, TRUNK_HALF)) {
        acrossU = (x - t0) / (t1 - t0);
        return true;
    }
    // Left arm: out from the trunk low down, then up.
    float l0 = CACTUS_X - 0.17f;
    if (inBox(x, y, l0, 0.38f, l0 + 2 * ARM_HALF, 0.58f, ARM_HALF) ||
        inBox(x, y, l0 + ARM_HALF, 0.38f, t0 + 0.01f, 0.38f + 2 * ARM_HALF, 0)) {
        acrossU = (x - l0) / (2 * ARM_HALF);
        return true;
    }
    // Right arm, higher.
    float r1 = CACTUS_X + 0.16f;
    if (inBox(x, y, r1 - 2 * ARM_HALF, 0.47f, r1, 0.64f, ARM_HALF) ||
        inBox(x, y, t1 - 0.01f, 0.47f, r1 - ARM_HALF, 0.47f + 2 * ARM_HALF, 0)) {
        acrossU = (x - (r1 - 2 * ARM_HALF)) / (2 * ARM_HALF);
        return true;
    }
    return false;
}

static Rgb sceneColour(const IconTextures& textures, float x, float y) {
    float acrossU;
    if (inCactus(x, y, acrossU)) {
        // Lit from the sun's side (right), shaded on the left.
        Rgb c = sample(textures.cactus, acrossU * 0.25f, y * 1.5f);
        return rgbScale(c, 0.75f + 0.45f * acrossU);
    }
    float farDune = 0.40f + 0.035f * sinf(x * 7.0f + 1.0f);
    float nearDune = 0.27f + 0.06f * sinf(x * 4.5f + 2.2f);
    if (y < nearDune) {
        Rgb c = sample(textures.sand, x * 1.3f, y * 1.3f);
        // The cactus's shadow falls away from the sun, down and to the left.
        float sx = (x - (CACTUS_X - 0.10f)) / 0.16f, sy = (y - 0.17f) / 0.035f;
        if (sx * sx + sy * sy < 1)
            c = rgbScale(c, 0.62f);
        return c;
    }
    if (y < farDune)
        return rgbScale(sample(textures.sand, x * 2.1f + 0.3f, y * 2.1f), 0.82f);
    float sunDistance = sqrtf((x - SUN_X) * (x - SUN_X) + (y - SUN_Y) * (y - SUN_Y));
    if (sunDistance < SUN_R)
        return SUN;
    Rgb sky = rgbMix(SKY_LOW, SKY_TOP, clamp01((y - farDune) / 0.45f));
    // A soft glow around the sun.
    return rgbMix(sky, SUN, 0.35f * clamp01(1 - (sunDistance - SUN_R) / 0.12f));
}

void paintIcon(int size, std::vector<unsigned char>& rgba) {
    rgba.assign((size_t)size * size * 4, 0);
    if (size < MIN_ICON_SIZE || size > MAX_ICON_SIZE)
        return;
    IconTextures textures;
    imageCreate(textures.sand, TEXTURE_SIZE, TEXTURE_SIZE);
    paintDesertTexture(textures.sand);
    imageCreate(textures.cactus, TEXTURE_SIZE, TEXTURE_SIZE);
    paintCactusTexture(textures.cactus);
    float pixel = 1.0f / size;
    for (int row = 0; row < size; row++) {
        for (int column = 0; column < size; column++) {
            Rgb sum = {0, 0, 0};
            for (int sy = 0; sy < SUPERSAMPLE; sy++) {
                for (int sx = 0; sx < SUPERSAMPLE; sx++) {
                    float x = (column + (sx + 0.5f) / SUPERSAMPLE) * pixel;
                    float y = 1 - (row + (sy + 0.5f) / SUPERSAMPLE) * pixel;
                    Rgb c = sceneColour(textures, x, y);
                    sum = Rgb{sum.r + c.r, sum.g + c.g, sum.b + c.b};
                }
            }
            Rgb c = rgbScale(sum, 1.0f / (SUPERSAMPLE * SUPERSAMPLE));
            float alpha =
                roundedSquareCoverage((column + 0.5f) * pixel, 1 - (row + 0.5f) * pixel, pixel);
            unsigned char* p = &rgba[((size_t)row * size + column) * 4];
            p[0] = (unsigned char)(clamp01(c.r) * 255 + 0.5f);
            p[1] = (unsigned char)(clamp01(c.g) * 255 + 0.5f);
            p[2] = (unsigned char)(clamp01(c.b) * 255 + 0.5f);
            p[3] = (unsigned char)(alpha * 255 + 0.5f);
        }
    }
}

bool writeIcon(int size, const char* path) {
    if (size < MIN_ICON_SIZE || size > MAX_ICON_SIZE) {
        fprintf(stderr, "generateAssets: icon size %d is outside %d..%d\n", size, MIN_ICON_SIZE,
                MAX_ICON_SIZE);
        return false;
    }
    std::vector<unsigned char> rgba;
    paintIcon(size, rgba);
    if (stbi_write_png(path, size, size, 4, rgba.data(), size * 4) == 0) {
        fprintf(stderr, "generateAssets: cannot write %s\n", path);
        return false;
    }
    return true;
}
