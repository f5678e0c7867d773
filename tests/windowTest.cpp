#include <GL/glew.h>
#include <gtest/gtest.h>

#include "app/window.h"
#include "tests/glFixture.h"

namespace {

class WindowCallbacks : public GlTest {
  protected:
    void SetUp() override {
        windowWidth = 640;
        windowHeight = 480;
        wireframeOff = 1;
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    }
};

// gluPerspective stores f / aspect in element 0 and f in element 5.
double projectionAspect() {
    double m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    return m[5] / m[0];
}

GLint frontPolygonMode() {
    GLint modes[2];
    glGetIntegerv(GL_POLYGON_MODE, modes);
    return modes[0];
}

} // namespace

TEST_F(WindowCallbacks, ReshapeStoresSizeAndUsesRealAspect) {
    reshapeWindow(800, 600);
    EXPECT_EQ(windowWidth, 800);
    EXPECT_EQ(windowHeight, 600);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);
    EXPECT_NEAR(projectionAspect(), 800.0 / 600.0, 1e-6);

    reshapeWindow(1000, 300);
    EXPECT_NEAR(projectionAspect(), 1000.0 / 300.0, 1e-6) << "aspect must not be truncated to 3";
}

TEST_F(WindowCallbacks, ReshapeWithOneZeroSideKeepsRunning) {
    reshapeWindow(0, 300);
    reshapeWindow(640, 0);
    reshapeWindow(640, 480);
    EXPECT_EQ(windowWidth, 640);
}

TEST_F(WindowCallbacks, ReshapeAfterZeroByZeroEndsWithStatusZero) {
    reshapeWindow(0, 0);
    EXPECT_EQ(windowWidth, 0);
    EXPECT_EXIT(reshapeWindow(320, 200), ::testing::ExitedWithCode(0), "");
}

TEST_F(WindowCallbacks, RTogglesOutlinesAndBackInEitherCase) {
    keyboardInput('r', 0, 0);
    EXPECT_EQ(wireframeOff, 0);
    EXPECT_EQ(frontPolygonMode(), GL_LINE);
    keyboardInput('R', 10, 10);
    EXPECT_EQ(wireframeOff, 1);
    EXPECT_EQ(frontPolygonMode(), GL_FILL);
}

TEST_F(WindowCallbacks, OtherKeysChangeNothingAndEscapeExitsWithZero) {
    for (unsigned char key : {' ', 'w', '1', 'q', 'Q'})
        keyboardInput(key, 0, 0);
    EXPECT_EQ(wireframeOff, 1);
    EXPECT_EQ(frontPolygonMode(), GL_FILL);
    EXPECT_EXIT(keyboardInput(27, 300, 200), ::testing::ExitedWithCode(0), "");
}
