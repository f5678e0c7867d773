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
    glClearColor(SKY_COLOUR[0], SKY_COLOUR[1], SKY_COLOUR[2], SKY_COLOUR[3]);
}

void drawFrame() {
    beginFrame();
    renderDepthPass();
    renderLitPass();
    drawParticlePass();
}
