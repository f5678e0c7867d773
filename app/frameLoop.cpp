#include "app/frameLoop.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include "app/pointerInput.h"
#include "demo/choreography.h"
#include "particles/particles.h"
#include "render/frame.h"
#include "app/eyeOverSand.h"

void advanceFrame() {
    updateElapsedSeconds();
    applyEdgeScroll();
    runChoreography();
    keepEyeOverSand();
    updateParticles();
}

void displayFrame() {
    advanceFrame();
    drawFrame();
    glutSwapBuffers();
}
