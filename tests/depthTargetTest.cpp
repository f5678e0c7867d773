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
