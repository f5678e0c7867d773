#include "scene/imageDecode.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

// ---- helpers ----
static uint32_t readU32(const unsigned char* p);
static bool overSideCap(int64_t width, int64_t height, int maxSide);
static void convertBgrRow(const unsigned char* src, size_t available, int width,
                          unsigned char* dst);
static bool fail(const char* why, DecodedImage* out, const char** reason);

// Pixels are converted with whole-word loads in this byte order.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "little-endian host expected");

const size_t BMP_HEADERS_SIZE = 54; // 14-byte file header and 40-byte information header
const char* const SHORT_FILE = "file ends before its pixel data does, missing pixels are black";

bool decodeBitmap(const unsigned char* data, size_t size, int maxSide, DecodedImage* out,
                  const char** reason) {
    out->pixels = nullptr;
    out->width = out->height = 0;
    if (size < BMP_HEADERS_SIZE)
        return fail("file too short for the bitmap headers", out, reason);
    uint32_t pixelOffset = readU32(data + 10);
    int32_t width = (int32_t)readU32(data + 18);
    int32_t height = (int32_t)readU32(data + 22);
    unsigned bitCount = data[28] | (data[29] << 8);
    uint32_t compression = readU32(data + 30);
    // Plain 24-bit triples are the only pixel layout this decoder reads.
    if (bitCount != 24)
        return fail("bit depth is not 24", out, reason);
    if (compression != 0)
        return fail("compressed bitmaps are not supported", out, reason);
    // No image to upload; INT32_MIN has no positive row count.
    if (width <= 0 || height == 0 || height == INT32_MIN)
        return fail("width or height is zero or negative", out, reason);
    bool topDown = height < 0;
    int64_t rows = topDown ? -(int64_t)height : height;
    if (overSideCap(width, rows, maxSide))
        return fail("larger than the caller's size limit", out, reason);
    if ((uint64_t)width * (uint64_t)rows * 4 > MAX_PIXEL_BYTES)
        return fail("pixel buffer would exceed 256 MB", out, reason);
    // An offset into the headers cannot be meant: the pixels follow the headers.
    if (pixelOffset < BMP_HEADERS_SIZE)
        pixelOffset = BMP_HEADERS_SIZE;

    unsigned char* pixels = (unsigned char*)malloc((size_t)width * (size_t)rows * 4);
    if (!pixels)
        return fail("out of memory", out, reason);
    size_t stride = ((size_t)width * 3 + 3) & ~(size_t)3;
    bool shortFile = false;
    for (int64_t r = 0; r < rows; r++) {
        // Bottom-up rows go to GL in file order; top-down rows are turned the right way up.
        int64_t destRow = topDown ? rows - 1 - r : r;
        size_t rowStart = pixelOffset + (size_t)r * stride;
        size_t available = rowStart < size ? (size - rowStart) / 3 : 0;
        if (available < (size_t)width)
            shortFile = true;
        const unsigned char* src = available > 0 ? data + rowStart : data;
        convertBgrRow(src, available, width, pixels + (size_t)destRow * (size_t)width * 4);
    }
    out->width = width;
    out->height = (int)rows;
    out->pixels = pixels;
    *reason = shortFile ? SHORT_FILE : nullptr;
    return true;
}

bool decodeRaw(const unsigned char* data, size_t size, int width, int height, int maxSide,
               DecodedImage* out, const char** reason) {
    out->pixels = nullptr;
    out->width = out->height = 0;
    if (width <= 0 || height <= 0)
        return fail("width or height is zero or negative", out, reason);
    if (overSideCap(width, height, maxSide))
        return fail("larger than the caller's size limit", out, reason);
    if ((uint64_t)width * (uint64_t)height * 3 > MAX_PIXEL_BYTES)
        return fail("pixel buffer would exceed 256 MB", out, reason);
    size_t needed = (size_t)width * (size_t)height * 3;
    unsigned char* pixels = (unsigned char*)malloc(needed);
    if (!pixels)
        return fail("out of memory", out, reason);
    size_t copied = size < needed ? size : needed;
    if (copied > 0)
        memcpy(pixels, data, copied);
    memset(pixels + copied, 0, needed - copied);
    out->width = width;
    out->height = height;
    out->pixels = pixels;
    *reason =
        copied < needed ? "file shorter than width x height x 3, missing bytes are zero" : nullptr;
    return true;
}

void freeDecodedImage(DecodedImage* image) {
    free(image->pixels);
    image->pixels = nullptr;
}

static uint32_t readU32(const unsigned char* p) {
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}

static bool overSideCap(int64_t width, int64_t height, int maxSide) {
    return maxSide > 0 && (width > maxSide || height > maxSide);
}

// BGR triples to opaque RGBA; pixels past the available ones are opaque black.
static void convertBgrRow(const unsigned char* src, size_t available, int width,
                          unsigned char* dst) {
    size_t count = available < (size_t)width ? available : (size_t)width;
    size_t i = 0;
    // Four-byte loads read one byte past the triple, so the row's last pixel is done alone.
    for (; i + 1 < count; i++) {
        uint32_t bgrx;
        memcpy(&bgrx, src + i * 3, 4);
        uint32_t rgba = (__builtin_bswap32(bgrx) >> 8) | 0xFF000000u;
        memcpy(dst + i * 4, &rgba, 4);
    }
    for (; i < count; i++) {
        dst[i * 4] = src[i * 3 + 2];
        dst[i * 4 + 1] = src[i * 3 + 1];
        dst[i * 4 + 2] = src[i * 3];
        dst[i * 4 + 3] = 255;
    }
    for (; i < (size_t)width; i++) {
        static const unsigned char opaqueBlack[4] = {0, 0, 0, 255};
        memcpy(dst + i * 4, opaqueBlack, 4);
    }
}

static bool fail(const char* why, DecodedImage* out, const char** reason) {
    out->pixels = nullptr;
    *reason = why;
    return false;
}
