#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "scene/textureLoaders.h"
#include "tests/glFixture.h"
#include "tests/loaderTestFiles.h"

namespace {

class TextureLoaders : public GlTest {
  protected:
    std::string dir;
    void TearDown() override { removeTempDir(dir); }
    void SetUp() override {
        bitmapTextureCounter = -1;
        dir = makeTempDir();
    }
    std::string put(const char* name, const Bytes& bytes) {
        std::string path = dir + "/" + name;
        writeFile(path, bytes);
        return path;
    }
};

struct Level0 {
    int width = 0, height = 0;
    std::vector<unsigned char> texels;
};

// Level 0 of the texture bound to GL_TEXTURE_2D, read back in format (GL_RGBA or GL_RGB).
Level0 readLevel0(GLenum format) {
    Level0 level;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &level.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &level.height);
    int components = format == GL_RGBA ? 4 : 3;
    level.texels.resize((size_t)level.width * level.height * components);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, level.texels.data());
    return level;
}

uint32_t rgbaAt(const Level0& level, int x, int y) {
    const unsigned char* p = &level.texels[((size_t)y * level.width + x) * 4];
    return (uint32_t)p[0] << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

const uint32_t RED = 0xFF0000FF, GREEN = 0x00FF00FF, BLUE = 0x0000FFFF, WHITE = 0xFFFFFFFF;
const Bytes EDGE_ROW = {0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255};

GLint boundTexture() {
    GLint name = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return name;
}

TEST_F(TextureLoaders, FirstBitmapGetsNameZeroWithOpaqueRgbaTexels) {
    std::string path = put("edge.bmp", bitmapFile(4, 1, EDGE_ROW));
    // Name 0 on purpose: bitmap names come from a counter, not from glGenTextures.
    ASSERT_EQ(loadBitmapTexture(path.c_str()), 0);
    EXPECT_EQ(boundTexture(), 0);
    Level0 level = readLevel0(GL_RGBA);
    ASSERT_EQ(level.width, 4);
    ASSERT_EQ(level.height, 1);
    EXPECT_EQ(rgbaAt(level, 0, 0), RED);
    EXPECT_EQ(rgbaAt(level, 1, 0), GREEN);
    EXPECT_EQ(rgbaAt(level, 2, 0), BLUE);
    EXPECT_EQ(rgbaAt(level, 3, 0), WHITE);
    GLint internalFormat = 0, minFilter = 0, wrapT = 0, envMode = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &internalFormat);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &envMode);
    EXPECT_TRUE(internalFormat == 4 || internalFormat == GL_RGBA) << internalFormat;
    EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_NEAREST);
    EXPECT_EQ(wrapT, GL_REPEAT);
    EXPECT_EQ(envMode, GL_MODULATE);
}

TEST_F(TextureLoaders, PaddedAndTopDownBitmapsLoadUnshearedAndUpright) {
    // 2 x 2, rows padded to 8 bytes: bottom row red, top row green; read unpadded, the padding
    // would shear black into the top row. (A width that is not a power of two would be rescaled
    // by the mipmapper, whose scaling blanks the top row on this GLU.)
    Bytes padded = {0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 0, 0, 255, 0, 0, 0};
    std::string paddedPath = put("padded.bmp", bitmapFile(2, 2, padded));
    // Top-down 4 x 2: the file's first row (blue) is the top one, the second is black.
    Bytes topDown(24, 0);
    for (int i = 0; i < 4; i++)
        topDown[i * 3] = 255;
    std::string topDownPath = put("topdown.bmp", bitmapFile(4, -2, topDown));

    ASSERT_EQ(loadBitmapTexture(paddedPath.c_str()), 0);
    Level0 level = readLevel0(GL_RGBA);
    ASSERT_EQ(level.width, 2);
    ASSERT_EQ(level.height, 2);
    for (int x = 0; x < 2; x++) {
        EXPECT_EQ(rgbaAt(level, x, 0), RED) << "bottom row, x " << x;
        EXPECT_EQ(rgbaAt(level, x, 1), GREEN) << "top row, x " << x;
    }
    ASSERT_EQ(loadBitmapTexture(topDownPath.c_str()), 1);
    level = readLevel0(GL_RGBA);
    for (int x = 0; x < 4; x++) {
        EXPECT_EQ(rgbaAt(level, x, 1), BLUE) << "top row, x " << x;
        EXPECT_EQ(rgbaAt(level, x, 0), 0x000000FFu) << "bottom row, x " << x;
    }
}

TEST_F(TextureLoaders, FailedLoadsUseUpANameAndSayWhy) {
    std::string good = put("edge.bmp", bitmapFile(4, 1, EDGE_ROW));
    std::string missing = dir + "/absent.bmp";
    std::string deep = put("deep.bmp", bitmapFile(1, 1, Bytes(4, 0), 54, 32));
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadBitmapTexture(missing.c_str()), -1);
    EXPECT_EQ(loadBitmapTexture(nullptr), -1);
    EXPECT_EQ(loadBitmapTexture(deep.c_str()), -1);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Orbitex: Texture not found (" + missing + ")"), std::string::npos) << err;
    EXPECT_NE(err.find(deep), std::string::npos) << "the refusal names the file: " << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 2) << err;
    EXPECT_EQ(loadBitmapTexture(good.c_str()), 3) << "names 0, 1 and 2 were used up";
}

// The level-0 upload fails for a side above the driver's limit; the mipmap builder scales the
// image down to fit and replaces it.
TEST_F(TextureLoaders, BitmapWiderThanTheDriverAllowsIsScaledDownToFit) {
    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    int width = maxSide + 1;
    Bytes rows((size_t)((width * 3 + 3) & ~3) * 2, 0x80);
    std::string path = put("wide.bmp", bitmapFile(width, 2, rows));
    ASSERT_EQ(loadBitmapTexture(path.c_str()), 0);
    Level0 level = readLevel0(GL_RGBA);
    EXPECT_GT(level.width, 0);
    EXPECT_LE(level.width, maxSide);
    ASSERT_FALSE(level.texels.empty());
    EXPECT_EQ(level.texels[0], 0x80);
    while (glGetError() != GL_NO_ERROR) {
    }
}

TEST_F(TextureLoaders, SameBitmapTwiceGivesTwoNamesWithEqualImages) {
    std::string path = put("edge.bmp", bitmapFile(4, 1, EDGE_ROW));
    ASSERT_EQ(loadBitmapTexture(path.c_str()), 0);
    ASSERT_EQ(loadBitmapTexture(path.c_str()), 1);
    Level0 second = readLevel0(GL_RGBA);
    glBindTexture(GL_TEXTURE_2D, 0);
    Level0 first = readLevel0(GL_RGBA);
    EXPECT_EQ(first.texels, second.texels);
}

TEST_F(TextureLoaders, RawFileBecomesAGeneratedRgbTexture) {
    // 3 x 2, so rows are not 4-byte aligned.
    Bytes rgb = {10, 20, 30, 40, 50, 60, 70, 80, 90, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    std::string path = put("image.raw", rgb);
    GLuint name = loadRawTexture(path.c_str(), 3, 2);
    ASSERT_NE(name, 0u);
    EXPECT_TRUE(glIsTexture(name));
    EXPECT_EQ(boundTexture(), (GLint)name);
    GLint internalFormat = 0, wrapS = 0, magFilter = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &internalFormat);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    EXPECT_TRUE(internalFormat == 3 || internalFormat == GL_RGB) << internalFormat;
    EXPECT_EQ(wrapS, GL_REPEAT);
    EXPECT_EQ(magFilter, GL_LINEAR);

    Bytes square = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
    path = put("square.raw", square);
    name = loadRawTexture(path.c_str(), 2, 2);
    ASSERT_NE(name, 0u);
    Level0 level = readLevel0(GL_RGB);
    EXPECT_EQ(level.texels, std::vector<unsigned char>(square.begin(), square.end()));
}

TEST_F(TextureLoaders, ShortRawFileIsZeroFilled) {
    std::string path = put("short.raw", Bytes{200, 100, 50, 25});
    testing::internal::CaptureStderr();
    GLuint name = loadRawTexture(path.c_str(), 2, 2);
    std::string err = testing::internal::GetCapturedStderr();
    ASSERT_NE(name, 0u);
    EXPECT_NE(err.find(path), std::string::npos) << err;
    Level0 level = readLevel0(GL_RGB);
    std::vector<unsigned char> expected = {200, 100, 50, 25, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(level.texels, expected);
}

TEST_F(TextureLoaders, RawFailuresReturnZero) {
    std::string path = put("image.raw", Bytes(12, 1));
    EXPECT_EQ(loadRawTexture((dir + "/absent.raw").c_str(), 2, 2), 0u);
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadRawTexture(path.c_str(), 0, 2), 0u);
    EXPECT_EQ(loadRawTexture(path.c_str(), 2, -2), 0u);
    EXPECT_EQ(loadRawTexture(path.c_str(), 1 << 30, 1 << 30), 0u);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 3) << err;
}

} // namespace
