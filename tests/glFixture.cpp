#include "tests/glFixture.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <cstdlib>

#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>

// The GL driver is unloaded at exit, after which its allocations can no longer be attributed to it
// and suppressed; check for leaks while it is still loaded.
static void checkLeaksWhileDriverLoaded() {
    __lsan_do_leak_check();
}
#endif

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
#ifdef __SANITIZE_ADDRESS__
    atexit(checkLeaksWhileDriverLoaded);
#endif
    pumpGlutEvents();
}

void pumpGlutEvents(int rounds) {
    for (int i = 0; i < rounds; i++)
        glutMainLoopEvent();
}
