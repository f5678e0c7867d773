#pragma once
#include <vector>

// One level down a mipmap chain as GLU builds it on the desktop: each texel the mean of the 2 x 2
// above it, rounded to nearest (a side of 1 stays 1). RGB or RGBA bytes, `channels` each.
void halveImage(const unsigned char* image, int width, int height, int channels,
                std::vector<unsigned char>& out);
