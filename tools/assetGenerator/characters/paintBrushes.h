#pragma once
// Colours, noise and cell filling shared by the character painters.
#include "../image.h"
#include "../modelMesh.h"
#include "../texturePaint.h"

#include <functional>

// A rectangle of texels that one mesh part is mapped onto; y counts from the bottom row.
struct AtlasCell {
    int x0, y0, width, height;
};

// Colour of a cell at its own 0..1 coordinates (u across, v up).
using CellPainter = std::function<Rgb(float u, float v)>;

// Noise in -1..1 that repeats every 1.0 in u (lathe and tube seams stay invisible).
float seamlessNoise(float u, float v, int periodU, float scaleV, float seed);
// Sum of octaves of seamlessNoise, about -1..1.
float seamlessFbm(float u, float v, int periodU, float scaleV, float seed, int octaves);
// Coverage of an ellipse centred at (cu, cv) with radii (ru, rv), soft over the given edge width.
float ellipseCoverage(float u, float v, float cu, float cv, float ru, float rv, float edge);

// Maps the cell onto texture coordinates, pulled in by two texels so mipmaps keep neighbours out.
UvRect cellUv(int textureSize, AtlasCell cell);
void paintCell(Image& image, AtlasCell cell, const CellPainter& painter);

// Coverage of a staggered grid of soft dots, countU of them around (whole, so seams match).
float dotPattern(float u, float v, int countU, float countV, float radius);

// Cloth: a fine weave, soft lengthwise folds and dust.
Rgb clothShade(Rgb base, float u, float v, float foldDepth, float seed);
// Leather: grain and scuffs.
Rgb leatherShade(Rgb base, float u, float v, float seed);
// Hair: strands running along v.
Rgb hairShade(Rgb base, float u, float v, float seed);
