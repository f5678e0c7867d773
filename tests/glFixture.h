#pragma once
#include <gtest/gtest.h>

// Opens the test process's one freeglut window (640 x 480, double-buffered RGBA with depth), once,
// and initialises GLEW in it. Needs a display: the test command provides an Xvfb.
void ensureGlWindow();

// Lets freeglut deliver pending window-system events (map, reshape) to the callbacks.
void pumpGlutEvents(int rounds = 3);

class GlTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ensureGlWindow(); }
};
