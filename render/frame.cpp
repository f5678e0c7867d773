#include "render/frame.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

void displayFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
}
