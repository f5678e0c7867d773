#include <GL/glew.h>
#include <gtest/gtest.h>

#include "app/window.h"
#include "render/extensionEntryPoints.h"
#include "render/renderPasses.h"
#include "render/shadowTarget.h"
#include "tests/glFixture.h"

TEST(FrameAspect, KeepsTheTruncatingIntegerQuotient) {
    EXPECT_EQ(frameAspect(640, 480), 1.0);
    EXPECT_EQ(frameAspect(1000, 300), 3.0);
    EXPECT_EQ(frameAspect(1920, 480), 4.0);
    EXPECT_EQ(frameAspect(800, 800), 1.0);
}

TEST(FrameAspect, ZeroHeightAndTallWindowsUseOne) {
    EXPECT_EQ(frameAspect(640, 0), 1.0);
    EXPECT_EQ(frameAspect(0, 0), 1.0);
    EXPECT_EQ(frameAspect(480, 640), 1.0);
    EXPECT_EQ(frameAspect(0, 480), 1.0);
}

TEST(InvertMatrix, UndoesATurnedAndMovedView) {
    // 30 degrees about y, then moved.
    const double c = 0.8660254037844387, s = 0.5;
    const double m[16] = {c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 12, -5, 40, 1};
    double inverse[16];
    ASSERT_TRUE(invertMatrix(m, inverse));
    for (int col = 0; col < 4; col++) {
        for (int row = 0; row < 4; row++) {
            double sum = 0;
            for (int k = 0; k < 4; k++)
                sum += m[k * 4 + row] * inverse[col * 4 + k];
            EXPECT_NEAR(sum, row == col ? 1.0 : 0.0, 1e-12);
        }
    }
}

TEST(InvertMatrix, RefusesASingularMatrix) {
    const double zero[16] = {0};
    double out[16] = {7};
    EXPECT_FALSE(invertMatrix(zero, out));
    EXPECT_EQ(out[0], 7.0);
}

class DepthPass : public GlTest {
  protected:
    void SetUp() override {
        bindExtensionEntryPoints();
        if (shadowFramebuffer == 0)
            createShadowTarget();
    }
    void TearDown() override {
        windowWidth = 640;
        windowHeight = 480;
    }
};

// gluPerspective stores f / aspect in element 0 and f in element 5. The texture stays
// 2560 x 1920 (made at 640 x 480): the viewport never reaches past it.
TEST_F(DepthPass, UsesIntegerAspectAndFourfoldViewportClampedToTheTexture) {
    const int sizes[][5] = {{640, 480, 1, 2560, 1920},
                            {1000, 300, 3, 2560, 1200},
                            {300, 600, 1, 1200, 1920},
                            {640, 0, 1, 2560, 0}};
    for (const auto& size : sizes) {
        windowWidth = size[0];
        windowHeight = size[1];
        renderDepthPass();
        double projection[16];
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        EXPECT_NEAR(projection[5] / projection[0], size[2], 1e-6) << size[0] << "x" << size[1];
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[2], size[3]) << size[0] << "x" << size[1];
        EXPECT_EQ(viewport[3], size[4]) << size[0] << "x" << size[1];
        extensionEntryPoints.bindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    }
}
