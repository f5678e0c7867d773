#include <gtest/gtest.h>
#include <stb_image.h>
#include <stb_image_write.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "scene/imageDecode.h"
#include "tests/loaderTestFiles.h"

namespace {

// Decodes from a heap copy of exactly the file's size, so a sanitizer sees any overread.
bool decode(const Bytes& file, DecodedImage* image, const char** reason, int maxSide = 0) {
    unsigned char* copy = (unsigned char*)calloc(file.size() + 1, 1);
    if (!file.empty())
        memcpy(copy, file.data(), file.size());
    bool ok = decodeBitmap(copy, file.size(), maxSide, image, reason);
    free(copy);
    return ok;
}

uint32_t texel(const DecodedImage& image, int x, int y) {
    const unsigned char* p = image.pixels + ((size_t)y * image.width + x) * 4;
    return (uint32_t)p[0] << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

const uint32_t RED = 0xFF0000FF, GREEN = 0x00FF00FF, BLUE = 0x0000FFFF, WHITE = 0xFFFFFFFF;
const uint32_t BLACK = 0x000000FF;

TEST(BitmapDecode, FourPixelRowGivesRedGreenBlueWhiteOpaque) {
    Bytes pixels = {0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255};
    DecodedImage image;
    const char* reason = "unset";
    ASSERT_TRUE(decode(bitmapFile(4, 1, pixels), &image, &reason));
    EXPECT_EQ(reason, nullptr);
    ASSERT_EQ(image.width, 4);
    ASSERT_EQ(image.height, 1);
    EXPECT_EQ(texel(image, 0, 0), RED);
    EXPECT_EQ(texel(image, 1, 0), GREEN);
    EXPECT_EQ(texel(image, 2, 0), BLUE);
    EXPECT_EQ(texel(image, 3, 0), WHITE);
    freeDecodedImage(&image);
}

TEST(BitmapDecode, PaddedRowsAfterAGapLoadInPlace) {
    // 3 x 2: rows of 9 bytes padded to 12 (padding 0xEE), pixel data 16 bytes after the headers.
    Bytes rows = {0,   0,   255, 0, 255, 0, 255, 0, 0,   0xEE, 0xEE, 0xEE,
                  255, 255, 255, 0, 0,   0, 0,   0, 255, 0xEE, 0xEE, 0xEE};
    DecodedImage image;
    const char* reason = nullptr;
    ASSERT_TRUE(decode(bitmapFile(3, 2, rows, 70), &image, &reason));
    EXPECT_EQ(texel(image, 0, 0), RED);
    EXPECT_EQ(texel(image, 1, 0), GREEN);
    EXPECT_EQ(texel(image, 2, 0), BLUE);
    EXPECT_EQ(texel(image, 0, 1), WHITE);
    EXPECT_EQ(texel(image, 1, 1), BLACK);
    EXPECT_EQ(texel(image, 2, 1), RED);
    freeDecodedImage(&image);
}

TEST(BitmapDecode, TopDownRowsComeOutBottomFirst) {
    Bytes rows = {0, 0, 255, 0, 0, 255, 0, 0}; // first row in the file: red, the top row
    DecodedImage image;
    const char* reason = nullptr;
    ASSERT_TRUE(decode(bitmapFile(1, -2, rows), &image, &reason));
    ASSERT_EQ(image.height, 2);
    EXPECT_EQ(texel(image, 0, 0), GREEN);
    EXPECT_EQ(texel(image, 0, 1), RED);
    freeDecodedImage(&image);
}

TEST(BitmapDecode, MatchesStbImageOnAnOddSizedBitmap) {
    const int width = 37, height = 23;
    size_t stride = (width * 3 + 3) & ~3;
    Bytes rows(stride * height);
    for (size_t i = 0; i < rows.size(); i++)
        rows[i] = (unsigned char)(i * 7919 >> 3);
    Bytes file = bitmapFile(width, height, rows);
    DecodedImage image;
    const char* reason = nullptr;
    ASSERT_TRUE(decode(file, &image, &reason));
    int w = 0, h = 0, n = 0;
    unsigned char* reference = stbi_load_from_memory(file.data(), (int)file.size(), &w, &h, &n, 4);
    ASSERT_NE(reference, nullptr);
    ASSERT_EQ(w, width);
    ASSERT_EQ(h, height);
    // stb_image gives the top row first.
    for (int y = 0; y < height; y++)
        EXPECT_EQ(memcmp(image.pixels + (size_t)y * width * 4,
                         reference + (size_t)(height - 1 - y) * width * 4, (size_t)width * 4),
                  0)
            << "row " << y;
    stbi_image_free(reference);
    freeDecodedImage(&image);
}

void appendBytes(void* context, void* data, int size) {
    Bytes* out = (Bytes*)context;
    out->insert(out->end(), (unsigned char*)data, (unsigned char*)data + size);
}

TEST(BitmapDecode, BitmapWrittenByAnOrdinaryToolLoadsStraight) {
    // 5 x 3 written top row first by stb_image_write, which pads rows and stores them bottom-up.
    const int width = 5, height = 3;
    unsigned char rgb[width * height * 3];
    for (int i = 0; i < width * height * 3; i++)
        rgb[i] = (unsigned char)(i * 17);
    Bytes file;
    ASSERT_TRUE(stbi_write_bmp_to_func(appendBytes, &file, width, height, 3, rgb));
    DecodedImage image;
    const char* reason = nullptr;
    ASSERT_TRUE(decode(file, &image, &reason));
    ASSERT_EQ(image.width, width);
    ASSERT_EQ(image.height, height);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            const unsigned char* want = rgb + ((height - 1 - y) * width + x) * 3;
            uint32_t expected = (uint32_t)want[0] << 24 | want[1] << 16 | want[2] << 8 | 255;
            EXPECT_EQ(texel(image, x, y), expected) << "x " << x << " y " << y;
        }
    freeDecodedImage(&image);
}

TEST(BitmapDecode, FileEndingEarlyGivesOpaqueBlackAndAWarning) {
    Bytes pixels = {0, 0, 255, 0, 255}; // one pixel and part of the next
    DecodedImage image;
    const char* reason = nullptr;
    ASSERT_TRUE(decode(bitmapFile(2, 2, pixels), &image, &reason));
    EXPECT_NE(reason, nullptr);
    EXPECT_EQ(texel(image, 0, 0), RED);
    EXPECT_EQ(texel(image, 1, 0), BLACK);
    EXPECT_EQ(texel(image, 1, 1), BLACK);
    freeDecodedImage(&image);

    Bytes farOffset = bitmapFile(2, 2, Bytes());
    farOffset[10] = 0xFF; // pixel data said to start past the end
    ASSERT_TRUE(decode(farOffset, &image, &reason));
    EXPECT_EQ(texel(image, 0, 0), BLACK);
    freeDecodedImage(&image);
}

TEST(BitmapDecode, MalformedHeadersAreRefusedWithAReason) {
    Bytes one = {0, 0, 255, 0};
    struct Case {
        const char* what;
        Bytes file;
    } cases[] = {
        {"zero width", bitmapFile(0, 1, one)},
        {"negative width", bitmapFile(-4, 1, one)},
        {"zero height", bitmapFile(1, 0, one)},
        {"most negative height", bitmapFile(1, INT32_MIN, one)},
        {"32 bits a pixel", bitmapFile(1, 1, one, 54, 32)},
        {"8 bits a pixel", bitmapFile(1, 1, one, 54, 8)},
        {"run-length compressed", bitmapFile(1, 1, one, 54, 24, 1)},
        {"bit fields", bitmapFile(1, 1, one, 54, 24, 3)},
        {"side over the limit", bitmapFile(65, 1, one)},
        {"overflowing size", bitmapFile(0x7FFFFFFF, 0x7FFFFFFF, one)},
        {"headers cut off", Bytes(40, 0)},
    };
    for (const Case& c : cases) {
        DecodedImage image;
        image.pixels = (unsigned char*)&image; // must come back null
        const char* reason = nullptr;
        EXPECT_FALSE(decode(c.file, &image, &reason, 64)) << c.what;
        EXPECT_EQ(image.pixels, nullptr) << c.what;
        EXPECT_TRUE(reason && *reason) << c.what;
    }
}

TEST(BitmapDecode, OffsetIntoTheHeadersReadsPixelsFromByte54) {
    Bytes pixels = {0, 0, 255, 0, 255, 0};
    for (uint32_t offset : {0u, 20u, 53u}) {
        DecodedImage image;
        const char* reason = "unset";
        ASSERT_TRUE(decode(bitmapFile(2, 1, pixels, offset), &image, &reason)) << offset;
        EXPECT_EQ(reason, nullptr) << offset;
        EXPECT_EQ(texel(image, 0, 0), RED) << offset;
        EXPECT_EQ(texel(image, 1, 0), GREEN) << offset;
        freeDecodedImage(&image);
    }
}

// Only the buffer's size is capped; a side beyond any texture limit still decodes.
TEST(BitmapDecode, OnlyAPixelBufferOver256MBIsRefused) {
    struct Case {
        int32_t width, height;
        bool decodes;
    } cases[] = {{20000, 1, true},      {1, 20000, true},     {16384, 4096, true},
                 {16384, -4097, false}, {16385, 4096, false}, {0x7FFFFFFF, -0x7FFFFFFF, false}};
    for (const Case& c : cases) {
        DecodedImage image;
        const char* reason = nullptr;
        // Header only: a decodable case reads as a short file, all black.
        bool ok = decode(bitmapFile(c.width, c.height, Bytes()), &image, &reason);
        EXPECT_EQ(ok, c.decodes) << c.width << " x " << c.height << ": " << reason;
        if (!ok) {
            EXPECT_NE(std::string(reason).find("256 MB"), std::string::npos) << reason;
        }
        freeDecodedImage(&image);
    }
    DecodedImage image;
    const char* reason = nullptr;
    Bytes one = {1, 2, 3};
    EXPECT_TRUE(decodeRaw(one.data(), one.size(), 20000, 1, 0, &image, &reason));
    freeDecodedImage(&image);
    EXPECT_FALSE(decodeRaw(one.data(), one.size(), 16384, 5462, 0, &image, &reason));
    EXPECT_EQ(image.pixels, nullptr);
}

TEST(BitmapDecode, EveryPrefixOfABitmapDecodesWithinItsBytes) {
    Bytes rows(12 * 3, 0x40);
    Bytes file = bitmapFile(3, 3, rows);
    for (size_t length = 0; length <= file.size(); length++) {
        DecodedImage image;
        const char* reason = nullptr;
        bool ok = decode(Bytes(file.begin(), file.begin() + length), &image, &reason);
        EXPECT_EQ(ok, length >= 54) << "prefix " << length;
        freeDecodedImage(&image);
    }
}

TEST(RawDecode, CopiesRgbAndZeroFillsWhatTheFileLacks) {
    Bytes file = {1, 2, 3, 4, 5, 6, 7};
    DecodedImage image;
    const char* reason = nullptr;
    ASSERT_TRUE(decodeRaw(file.data(), file.size(), 2, 2, 0, &image, &reason));
    EXPECT_NE(reason, nullptr) << "a short file is worth a warning";
    const unsigned char expected[12] = {1, 2, 3, 4, 5, 6, 7, 0, 0, 0, 0, 0};
    EXPECT_EQ(memcmp(image.pixels, expected, 12), 0);
    freeDecodedImage(&image);

    ASSERT_TRUE(decodeRaw(file.data(), 6, 1, 2, 0, &image, &reason));
    EXPECT_EQ(reason, nullptr);
    freeDecodedImage(&image);
}

TEST(RawDecode, BadSizesAreRefused) {
    Bytes file(12, 1);
    const int sizes[][2] = {{0, 2}, {2, 0}, {-1, 2}, {2, -1}, {1 << 30, 1 << 30}, {65, 1}};
    for (const int* size : sizes) {
        DecodedImage image;
        const char* reason = nullptr;
        EXPECT_FALSE(decodeRaw(file.data(), file.size(), size[0], size[1], 64, &image, &reason))
            << size[0] << " x " << size[1];
        EXPECT_EQ(image.pixels, nullptr);
        EXPECT_TRUE(reason && *reason);
    }
}

} // namespace
