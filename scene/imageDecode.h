#pragma once
#include <cstddef>

// Pixels decoded from a file, rows bottom to top as GL takes them; pixels is malloc'd (free it
// with freeDecodedImage). BMP gives 4 bytes a pixel (RGBA, alpha 255), RAW gives 3 (RGB).
struct DecodedImage {
    int width;
    int height;
    unsigned char* pixels;
};

// Sides above this are refused whatever the GL limit says: it caps one image at 256 MB.
const int MAX_IMAGE_SIDE = 8192;

// Decodes an uncompressed 24-bit BMP; rows are padded to 4 bytes and start at the header's pixel
// offset, a negative height marks top-down rows. maxSide caps width and height (the GL limit).
// On failure returns false, *reason says why in a few words and out->pixels is null. On success
// *reason is null, or says that the file ends early and the missing pixels are black.
bool decodeBitmap(const unsigned char* data, size_t size, int maxSide, DecodedImage* out,
                  const char** reason);

// Takes width x height RGB triples from a headerless file; bytes the file lacks become zero.
// Failure and warning reasons as for decodeBitmap.
bool decodeRaw(const unsigned char* data, size_t size, int width, int height, int maxSide,
               DecodedImage* out, const char** reason);

void freeDecodedImage(DecodedImage* image);
