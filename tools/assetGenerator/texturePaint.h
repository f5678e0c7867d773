#pragma once
// Painting helpers shared by the scenery textures.
#include "image.h"

struct Rgb {
    float r, g, b;
};

Rgb rgbMix(Rgb a, Rgb b, float t);
Rgb rgbScale(Rgb c, float s);
void imagePut(Image& image, int x, int y, Rgb c);
// Fractal noise about -1..1 that tiles with period 1 in u and v (u, v in texture units).
// period: cells across the first octave (a power of two, at most 256).
float tileNoise(float u, float v, int period, int octaves, int seed);
// As tileNoise with its own number of cells along u and along v: streaks along the finer axis.
float tileNoise2(float u, float v, int periodU, int periodV, int octaves, int seed);
// 0 below edge0, 1 above edge1, smooth between.
float smoothStep(float edge0, float edge1, float x);
// Fills a rectangle of texels [x0, x1) x [y0, y1) with wood planks running along x: grain
// streaks, knots and dark seams every plankHeight texels.
void paintPlanks(Image& image, int x0, int y0, int x1, int y1, int plankHeight, Rgb light, Rgb dark,
                 int seed);
