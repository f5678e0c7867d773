// Feeds arbitrary bytes to the BMP decoder, and to the RAW decoder with a size taken from the
// first two bytes.
#include <cstdint>
#include <cstdlib>

#include "scene/imageDecode.h"

// Keeps each input's allocation small so the fuzzer stays fast; the checks are the same.
const int FUZZ_MAX_SIDE = 256;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DecodedImage image;
    const char* reason = nullptr;
    if (decodeBitmap(data, size, FUZZ_MAX_SIDE, &image, &reason)) {
        if (image.width <= 0 || image.height <= 0 || image.width > FUZZ_MAX_SIDE ||
            image.height > FUZZ_MAX_SIDE)
            __builtin_trap();
        // Every texel is written and opaque.
        size_t texels = (size_t)image.width * image.height;
        for (size_t i = 0; i < texels; i++)
            if (image.pixels[i * 4 + 3] != 255)
                __builtin_trap();
        freeDecodedImage(&image);
    } else if (image.pixels || !reason) {
        __builtin_trap();
    }
    if (size >= 2) {
        int width = (int8_t)data[0];
        int height = (int8_t)data[1];
        if (decodeRaw(data + 2, size - 2, width, height, FUZZ_MAX_SIDE, &image, &reason)) {
            volatile unsigned char last = image.pixels[(size_t)width * height * 3 - 1];
            (void)last;
            freeDecodedImage(&image);
        }
    }
    return 0;
}
