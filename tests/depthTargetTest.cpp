#include <GL/glew.h>
#include <gtest/gtest.h>

#include "app/window.h"
#include "render/extensionEntryPoints.h"
#include "render/shadowTarget.h"
#include "tests/glFixture.h"

namespace {

class DepthTarget : public GlTest {
  protected:
    void SetUp() override {
        windowWidth = 160;
        windowHeight = 120;
        bindExtensionEntryPoints();
        createShadowTarget();
    }
    void TearDown() override {
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        glBindTexture(GL_TEXTURE_2D, 0);
        windowWidth = 640;
        windowHeight = 480;
    }
};

GLint parameter(GLenum name) {
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

} // namespace

TEST_F(DepthTarget, DepthTextureIsNearestClampedAndReadWithoutComparison) {
    glBindTexture(GL_TEXTURE_2D, shadowDepthTexture);
    // GL's defaults are mipmapped / linear filters, repeat, and no comparison.
    EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    EXPECT_EQ(parameter(GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    EXPECT_EQ(parameter(GL_TEXTURE_WRAP_S), GL_CLAMP);
    EXPECT_EQ(parameter(GL_TEXTURE_WRAP_T), GL_CLAMP);
    EXPECT_EQ(parameter(GL_TEXTURE_COMPARE_MODE), GL_NONE);
    GLint format = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    EXPECT_TRUE(format == GL_DEPTH_COMPONENT || format == GL_DEPTH_COMPONENT16 ||
                format == GL_DEPTH_COMPONENT24 || format == GL_DEPTH_COMPONENT32)
        << format;
}

TEST_F(DepthTarget, FramebufferHasNeitherDrawNorReadBufferAndIsUnboundAfterwards) {
    GLint bound = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &bound);
    EXPECT_EQ(bound, 0);
    // A new framebuffer would draw to and read from its colour attachment 0.
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, shadowFramebuffer);
    GLint drawBuffer = -1, readBuffer = -1;
    glGetIntegerv(GL_DRAW_BUFFER, &drawBuffer);
    glGetIntegerv(GL_READ_BUFFER, &readBuffer);
    EXPECT_EQ(drawBuffer, GL_NONE);
    EXPECT_EQ(readBuffer, GL_NONE);
    EXPECT_EQ(glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT), (GLenum)GL_FRAMEBUFFER_COMPLETE_EXT);
    // A framebuffer of its own, with the depth texture as its depth attachment.
    EXPECT_NE(shadowFramebuffer, 0u);
    EXPECT_TRUE(glIsFramebufferEXT(shadowFramebuffer));
    GLint attached = 0;
    glGetFramebufferAttachmentParameterivEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT,
                                             GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME_EXT, &attached);
    EXPECT_EQ((GLuint)attached, shadowDepthTexture);
}

// Four times a window's side can pass what the GL offers (16384 on Mesa, 4096 on many phones):
// the target is then held to that side with its aspect kept, rounded down.
TEST(ShadowTargetSize, HeldToTheLargestSideWithItsAspect) {
    const struct {
        int wantedWidth, wantedHeight, largest, width, height;
    } CASES[] = {
        {2560, 1920, 16384, 2560, 1920},     // the desktop's 640 x 480 window: untouched
        {2560, 1920, 2048, 2048, 1536},      // a small GL
        {32000, 24000, 16384, 16384, 12288}, // an 8000 x 6000 window
        {1920, 2560, 1024, 768, 1024},       // taller than wide
        {4097, 4096, 4096, 4096, 4095},      // one over: rounded down, never over
        {4096, 4096, 4096, 4096, 4096},      // exactly the largest
        {100000, 10, 4096, 4096, 1},         // a sliver keeps one texel
        {0, 0, 4096, 1, 1},                  // no window yet
        {2560, 1920, 0, 2560, 1920},         // a GL that did not answer: nothing to hold to
    };
    for (const auto& c : CASES) {
        int width = 0, height = 0;
        fitShadowTarget(c.wantedWidth, c.wantedHeight, c.largest, &width, &height);
        EXPECT_EQ(width, c.width) << c.wantedWidth << " x " << c.wantedHeight << " to "
                                  << c.largest;
        EXPECT_EQ(height, c.height)
            << c.wantedWidth << " x " << c.wantedHeight << " to " << c.largest;
    }
}
