#include "render/frame.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include "app/pointerInput.h"
#include "demo/choreography.h"
#include "particles/particles.h"
#include "scene/eyeOverSand.h"
#include "render/renderPasses.h"

// ---- helpers ----
static void drawParticlePass();

// Particles write no depth: the lit scene hides them, they never hide each other.
static void drawParticlePass() {
    glDepthMask(GL_FALSE);
    updateParticles();
    drawParticles();
    glDepthMask(GL_TRUE);
}

void displayFrame() {
    updateElapsedSeconds();
    applyEdgeScroll();
    runChoreography();
    keepEyeOverSand();
    glClearColor(0.53f, 0.81f, 1.0f, 0.0f);
    renderDepthPass();
    renderLitPass();
    drawParticlePass();
    glutSwapBuffers();
}
