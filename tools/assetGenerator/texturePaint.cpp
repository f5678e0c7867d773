#include "texturePaint.h"

#include <cmath>
#include <stb_perlin.h>

Rgb rgbMix(Rgb a, Rgb b, float t) {
    return Rgb{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb rgbScale(Rgb c, float s) {
    return Rgb{c.r * s, c.g * s, c.b * s};
}

void imagePut(Image& image, int x, int y, Rgb c) {
    imageSet(image, x, y, c.r, c.g, c.b);
}

float tileNoise(float u, float v, int period, int octaves, int seed) {
    return tileNoise2(u, v, period, period, octaves, seed);
}

float tileNoise2(float u, float v, int periodU, int periodV, int octaves, int seed) {
    float sum = 0, amplitude = 1, norm = 0;
    for (int o = 0; o < octaves && periodU <= 256 && periodV <= 256; o++) {
        sum += amplitude * stb_perlin_noise3_seed(u * periodU, v * periodV, 0.5f + o * 7.0f,
                                                  periodU, periodV, 0, seed);
        norm += amplitude;
        amplitude *= 0.5f;
        periodU *= 2;
        periodV *= 2;
    }
    return norm > 0 ? sum / norm : 0;
}

float smoothStep(float edge0, float edge1, float x) {
    float t = (x - edge0) / (edge1 - edge0);
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    return t * t * (3 - 2 * t);
}

void paintPlanks(Image& image, int x0, int y0, int x1, int y1, int plankHeight, Rgb light, Rgb dark,
                 int seed) {
    float w = (float)image.width, h = (float)image.height;
    for (int y = y0; y < y1; y++) {
        int plank = (y - y0) / plankHeight;
        int inPlank = (y - y0) % plankHeight;
        // Each plank has its own tone and its own stagger of butt joints.
        float tone =
            0.85f + 0.15f * stb_perlin_noise3_seed(plank * 0.37f, 0.5f, 0.5f, 0, 0, 0, seed);
        int joint = (int)((plank * 97 + seed * 31) % 211) + x0;
        for (int x = x0; x < x1; x++) {
            float u = x / w, v = y / h;
            float warp = tileNoise(u, v, 4, 3, seed + 1) * 0.6f;
            float grain = sinf((v * 90.0f + warp * 6.0f + plank * 1.7f) * 6.2831853f);
            float fibre = tileNoise2(u, v, 16, 64, 2, seed + 2);
            float t = 0.5f + 0.3f * grain + 0.3f * fibre;
            // Knots: dark rings around a few noise peaks.
            float knot = tileNoise(u, v, 16, 1, seed + 3);
            if (knot > 0.55f)
                t = 0.1f + 0.4f * sinf(knot * 60.0f);
            Rgb c = rgbScale(rgbMix(light, dark, t < 0 ? 0 : (t > 1 ? 1 : t)), tone);
            bool seam = inPlank == 0 || inPlank == plankHeight - 1 || x == joint || x == joint + 1;
            if (seam)
                c = rgbScale(dark, 0.45f);
            imagePut(image, x, y, c);
        }
    }
}
