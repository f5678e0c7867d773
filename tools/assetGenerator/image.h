#pragma once
// RGB images painted in code and written as 24-bit BMP or raw RGB.
#include <vector>

struct Image {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb; // row 0 is the bottom row, as GL and BMP store it
};

void imageCreate(Image& image, int width, int height);
// Components 0..1, clamped.
void imageSet(Image& image, int x, int y, float r, float g, float b);
