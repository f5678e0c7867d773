#pragma once
#include <cstddef>

// Pixels decoded from a file, rows bottom to top as GL takes them; pixels is malloc'd (free it
// with freeDecodedImage). BMP gives 4 bytes a pixel (RGBA, alpha 255), RAW gives 3 (RGB).
struct DecodedImage {
    int width;
    int height;
    unsigned char* pixels;
};

// Width and height come from the file: a decoded buffer larger than this (256 MB) is refused
// rather than allocated, so a damaged or hostile header cannot take the machine's memory. Sides
// above the driver's texture limit are fine: the mipmap builder scales them down.
const size_t MAX_PIXEL_BYTES = (size_t)256 << 20;

// Decodes an uncompressed 24-bit BMP; rows are padded to 4 bytes and start at the header's pixel
// offset (at byte 54 where the header points into the headers), a negative height marks
// top-down rows. maxSide > 0 is a caller's own cap on width and height (0: none; the fuzzer
// uses it to keep each input's buffer small). On failure returns false, *reason says why in a few
// words and out->pixels is null. On success *reason is null, or says that the file ends early and
// the missing pixels are black.
bool decodeBitmap(const unsigned char* data, size_t size, int maxSide, DecodedImage* out,
                  const char** reason);

// Takes width x height RGB triples from a headerless file; bytes the file lacks become zero.
// Failure and warning reasons as for decodeBitmap.
bool decodeRaw(const unsigned char* data, size_t size, int width, int height, int maxSide,
               DecodedImage* out, const char** reason);

void freeDecodedImage(DecodedImage* image);
