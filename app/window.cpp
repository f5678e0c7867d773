#include "app/window.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include "platform/platform.h"

int wireframeOff = 1; // 1 filled, 0 outlines

void reshapeWindow(int width, int height) {
    // The test looks at the size stored by the previous reshape: a reshape to 0 x 0 is
    // accepted, the one after it ends the program.
    if (windowWidth == 0 && windowHeight == 0)
        endProgram(0);
    windowWidth = width;
    windowHeight = height;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, windowWidth, windowHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // A zero height gives an infinite aspect here; the next frame replaces this projection.
    gluPerspective(45.0, (double)windowWidth / (double)windowHeight, 5.0, 10000.0);
    glutPostRedisplay();
}

void keyboardInput(unsigned char key, int, int) {
    if (key == 27)
        endProgram(0);
    if (key == 'R' || key == 'r') {
        if (wireframeOff != 0) {
            glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
            wireframeOff = 0;
        } else {
            glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
            wireframeOff = 1;
        }
    }
}
