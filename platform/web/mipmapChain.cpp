// WebGL's generateMipmap filters as the driver likes: on Mesa its levels come out up to a level
// lighter than GLU's, which shows as mid-distance sand 0.8 lighter on average than the desktop's.
// The layer builds GLU's chain itself.
#include "platform/web/mipmapChain.h"

#include <cstddef>

void halveImage(const unsigned char* image, int width, int height, int channels,
                std::vector<unsigned char>& out) {
    int halfWidth = width > 1 ? width / 2 : 1, halfHeight = height > 1 ? height / 2 : 1;
    out.assign((size_t)halfWidth * halfHeight * channels, 0);
    for (int y = 0; y < halfHeight; y++) {
        int y0 = height > 1 ? 2 * y : y, y1 = height > 1 ? 2 * y + 1 : y;
        for (int x = 0; x < halfWidth; x++) {
            int x0 = width > 1 ? 2 * x : x, x1 = width > 1 ? 2 * x + 1 : x;
            for (int c = 0; c < channels; c++) {
                int sum = image[((size_t)y0 * width + x0) * channels + c] +
                          image[((size_t)y0 * width + x1) * channels + c] +
                          image[((size_t)y1 * width + x0) * channels + c] +
                          image[((size_t)y1 * width + x1) * channels + c];
                out[((size_t)y * halfWidth + x) * channels + c] = (unsigned char)((sum + 2) / 4);
            }
        }
    }
}
