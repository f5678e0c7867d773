#include "render/frame.h"

#include <GL/glew.h>

#include "particles/particles.h"
#include "render/renderPasses.h"

// ---- helpers ----
static void drawParticlePass();

// Particles write no depth: the lit scene hides them, they never hide each other.
static void drawParticlePass() {
    glDepthMask(GL_FALSE);
    drawParticles();
    glDepthMask(GL_TRUE);
}

void drawFrame() {
    glClearColor(0.53f, 0.81f, 1.0f, 0.0f);
    renderDepthPass();
    renderLitPass();
    drawParticlePass();
}
