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
    glClearColor(SKY_COLOUR[0], SKY_COLOUR[1], SKY_COLOUR[2], SKY_COLOUR[3]);
    renderDepthPass();
    renderLitPass();
    drawParticlePass();
}
