#include <GL/glew.h>
#include <gtest/gtest.h>

#include <string>

#include "scene/textureLoaders.h"
#include "tests/glFixture.h"
#include "tests/loaderTestFiles.h"

namespace {

// The loaders' texture state, read back where GL's defaults would not already show it.
class TextureState : public GlTest {
  protected:
    std::string dir;
    void SetUp() override { dir = makeTempDir(); }
    void TearDown() override {
        removeTempDir(dir);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    }
    std::string put(const char* name, const Bytes& bytes) {
        std::string path = dir + "/" + name;
        writeFile(path, bytes);
        return path;
    }
};

GLint parameter(GLenum name) {
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

GLint levelSize(int level, GLenum what) {
    GLint value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, what, &value);
    return value;
}

GLint environmentMode() {
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    return mode;
}

// Draws the bound texture, minified, over a white square and reads the middle pixel. An incomplete
// texture switches texturing off for the unit, and the square stays white.
void drawnColour(unsigned char rgb[3]) {
    glViewport(0, 0, 640, 480);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 1, 1);
    // 4 pixels across for an 8-texel image: minified, so the mipmaps are in play.
    const float half = 4.0f / 640.0f;
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(-half, -half);
    glTexCoord2f(1, 0);
    glVertex2f(half, -half);
    glTexCoord2f(1, 1);
    glVertex2f(half, half);
    glTexCoord2f(0, 1);
    glVertex2f(-half, half);
    glEnd();
    glFinish();
    glDisable(GL_TEXTURE_2D);
    glReadPixels(320, 240, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
}

} // namespace

TEST_F(TextureState, BitmapSetsEveryFilterWrapAndModeOverPreviousStateAndHasMipmaps) {
    // An 8 x 8 red bitmap (BGR rows of 24 bytes).
    Bytes pixels;
    for (int i = 0; i < 64; i++)
        pixels.insert(pixels.end(), {0, 0, 255});
    std::string path = put("red.bmp", bitmapFile(8, 8, pixels));
    // The name the loader will use, prepared with the opposite of everything it should set.
    bitmapTextureCounter = 499;
    glBindTexture(GL_TEXTURE_2D, 500);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBindTexture(GL_TEXTURE_2D, 0);

    ASSERT_EQ(loadBitmapTexture(path.c_str()), 500);
    glBindTexture(GL_TEXTURE_2D, 500);
    EXPECT_EQ(parameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(parameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
    EXPECT_EQ(parameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_NEAREST);
    EXPECT_EQ(environmentMode(), GL_MODULATE);
    EXPECT_EQ(levelSize(1, GL_TEXTURE_WIDTH), 4);
    EXPECT_EQ(levelSize(1, GL_TEXTURE_HEIGHT), 4);
    EXPECT_EQ(levelSize(3, GL_TEXTURE_WIDTH), 1) << "the chain goes down to 1 x 1";
    unsigned char rgb[3];
    drawnColour(rgb);
    EXPECT_TRUE(rgb[0] == 255 && rgb[1] == 0 && rgb[2] == 0)
        << "drawn " << (int)rgb[0] << " " << (int)rgb[1] << " " << (int)rgb[2]
        << ": the texture is incomplete";
    glBindTexture(GL_TEXTURE_2D, 0);
}

TEST_F(TextureState, RawImageSetsMinifyingFilterAndModeAndHasMipmaps) {
    // An 8 x 8 green RGB image.
    Bytes pixels;
    for (int i = 0; i < 64; i++)
        pixels.insert(pixels.end(), {0, 255, 0});
    std::string path = put("green.raw", pixels);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    GLuint name = loadRawTexture(path.c_str(), 8, 8);
    ASSERT_NE(name, 0u);
    glBindTexture(GL_TEXTURE_2D, name);
    // Wrap and magnifying filter equal GL's defaults for a new name: not observable here.
    EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_NEAREST);
    EXPECT_EQ(environmentMode(), GL_MODULATE);
    EXPECT_EQ(levelSize(1, GL_TEXTURE_WIDTH), 4);
    EXPECT_EQ(levelSize(1, GL_TEXTURE_HEIGHT), 4);
    unsigned char rgb[3];
    drawnColour(rgb);
    EXPECT_TRUE(rgb[0] == 0 && rgb[1] == 255 && rgb[2] == 0)
        << "drawn " << (int)rgb[0] << " " << (int)rgb[1] << " " << (int)rgb[2]
        << ": the texture is incomplete";
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteTextures(1, &name);
}

TEST_F(TextureState, MissingRawFileReturnsZeroAndPrintsNothing) {
    std::string path = dir + "/absent.raw";
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    GLuint name = loadRawTexture(path.c_str(), 8, 8);
    std::string out = testing::internal::GetCapturedStdout();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(name, 0u);
    EXPECT_EQ(out + err, "");
}
