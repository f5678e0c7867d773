#include "image.h"

#include <cstddef>

static unsigned char toByte(float c) {
    if (c < 0)
        c = 0;
    if (c > 1)
        c = 1;
    return (unsigned char)(c * 255.0f + 0.5f);
}

void imageCreate(Image& image, int width, int height) {
    image.width = width;
    image.height = height;
    image.rgb.assign((size_t)width * height * 3, 0);
}

void imageSet(Image& image, int x, int y, float r, float g, float b) {
    if (x < 0 || y < 0 || x >= image.width || y >= image.height)
        return;
    unsigned char* p = &image.rgb[((size_t)y * image.width + x) * 3];
    p[0] = toByte(r);
    p[1] = toByte(g);
    p[2] = toByte(b);
}
