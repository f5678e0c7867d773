#include "tests/glFixture.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <X11/Xlib.h>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

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

// Under ctest -j2 a busy Xvfb now and then refuses a new client for a moment; glutInit would end
// the process at once, so wait for the display to accept a connection first (up to ~10 s).
static void waitForDisplay() {
    for (int attempt = 0; attempt < 100; attempt++) {
        Display* display = XOpenDisplay(nullptr);
        if (display) {
            XCloseDisplay(display);
            return;
        }
        usleep(100000);
    }
    fprintf(stderr, "dustRidersTests: the display did not accept a connection\n");
}

void ensureGlWindow() {
    if (windowOpen)
        return;
    int argc = 1;
    char name[] = "dustRidersTests";
    char* argv[] = {name, nullptr};
    waitForDisplay();
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
