#include "render/frame.h"

#include <GL/glew.h>

#include "particles/particles.h"
#include "render/renderPasses.h"

// Particles write no depth: the lit scene hides them, they never hide each other.
void drawParticlePass() {
    glDepthMask(GL_FALSE);
    drawParticles();
    glDepthMask(GL_TRUE);
}

void beginFrame() {
    glClearColor(0.53f, 0.81f, 1.0f, 0.0f);
}

void drawFrame() {
    beginFrame();
    renderDepthPass();
    renderLitPass();
    drawParticlePass();
}
