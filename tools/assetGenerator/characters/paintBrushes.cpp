#include "paintBrushes.h"

#include <stb_perlin.h>

#include <cmath>

float seamlessNoise(float u, float v, int periodU, float scaleV, float seed) {
    // stb wraps only at powers of two up to 256.
    int wrap = 1;
    while (wrap < periodU && wrap < 256)
        wrap *= 2;
    return stb_perlin_noise3(u * (float)wrap, v * scaleV, seed, wrap, 0, 0);
}

float seamlessFbm(float u, float v, int periodU, float scaleV, float seed, int octaves) {
    float sum = 0, amplitude = 0.6f;
    for (int octave = 0; octave < octaves; octave++) {
        sum += amplitude * seamlessNoise(u, v, periodU, scaleV, seed + 7.3f * (float)octave);
        periodU *= 2;
        scaleV *= 2;
        amplitude *= 0.5f;
    }
    return sum;
}

float ellipseCoverage(float u, float v, float cu, float cv, float ru, float rv, float edge) {
    float du = (u - cu) / ru, dv = (v - cv) / rv;
    float distance = sqrtf(du * du + dv * dv);
    return 1.0f - smoothStep(1.0f - edge, 1.0f + edge, distance);
}

UvRect cellUv(int textureSize, AtlasCell cell) {
    float w = (float)textureSize, h = (float)textureSize;
    return UvRect{(cell.x0 + 2) / w, (cell.y0 + 2) / h, (cell.x0 + cell.width - 2) / w,
                  (cell.y0 + cell.height - 2) / h};
}

void paintCell(Image& image, AtlasCell cell, const CellPainter& painter) {
    // Texel centres between the inset edges map to 0..1, matching cellUv.
    float spanU = (float)(cell.width - 4), spanV = (float)(cell.height - 4);
    for (int y = 0; y < cell.height; y++) {
        for (int x = 0; x < cell.width; x++) {
            float u = (x + 0.5f - 2) / spanU, v = (y + 0.5f - 2) / spanV;
            u = u < 0 ? 0 : (u > 1 ? 1 : u);
            v = v < 0 ? 0 : (v > 1 ? 1 : v);
            Rgb c = painter(u, v);
            imageSet(image, cell.x0 + x, cell.y0 + y, c.r, c.g, c.b);
        }
    }
}

Rgb clothShade(Rgb base, float u, float v, float foldDepth, float seed) {
    float weave = 0.04f * sinf(u * 2 * 3.14159265f * 96) * sinf(v * 3.14159265f * 160);
    float folds = seamlessFbm(u, v, 6, 1.5f, seed, 3);
    float dust = seamlessFbm(u, v, 32, 24.0f, seed + 40, 2);
    float k = 1.0f + weave + foldDepth * folds + 0.05f * dust;
    return rgbScale(base, k);
}

Rgb leatherShade(Rgb base, float u, float v, float seed) {
    float grain = seamlessFbm(u, v, 64, 48.0f, seed, 2);
    float scuff = smoothStep(0.35f, 0.6f, seamlessFbm(u, v, 8, 6.0f, seed + 11, 3));
    Rgb c = rgbScale(base, 1.0f + 0.12f * grain);
    return rgbMix(c, rgbScale(base, 1.45f), 0.35f * scuff);
}

Rgb hairShade(Rgb base, float u, float v, float seed) {
    float strands = seamlessNoise(u, v, 128, 2.0f, seed);
    float clumps = seamlessFbm(u, v, 16, 3.0f, seed + 5, 2);
    return rgbScale(base, 1.0f + 0.22f * strands + 0.15f * clumps);
}

float dotPattern(float u, float v, int countU, float countV, float radius) {
    float gv = v * countV;
    float row = floorf(gv);
    // Every other row shifts by half a step.
    float gu = u * (float)countU + 0.5f * fmodf(row, 2.0f);
    float du = gu - floorf(gu) - 0.5f, dv = gv - row - 0.5f;
    return 1.0f - smoothStep(radius * 0.7f, radius, sqrtf(du * du + dv * dv));
}
