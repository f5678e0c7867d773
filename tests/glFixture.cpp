#include "tests/glFixture.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

static bool windowOpen = false;

static void noDisplay() {}

void ensureGlWindow() {
    if (windowOpen)
        return;
    int argc = 1;
    char name[] = "dustRidersTests";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_ALPHA | GLUT_DEPTH);
    glutInitWindowSize(640, 480);
    glutInitWindowPosition(0, 0);
    glutCreateWindow("Dust Riders test");
    // freeglut refuses to run its loop without a display callback.
    glutDisplayFunc(noDisplay);
    glewInit();
    windowOpen = true;
    pumpGlutEvents();
}

void pumpGlutEvents(int rounds) {
    for (int i = 0; i < rounds; i++)
        glutMainLoopEvent();
}
