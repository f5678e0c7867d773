#include "tests/glFixture.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <X11/Xlib.h>
#include <dlfcn.h>
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

// Under load Xvfb now and then refuses a new connection (EAGAIN or a reset, measured at 4-25 % of
// connects here), and freeglut ends the process when its one XOpenDisplay fails. The test binary's
// own XOpenDisplay, which the toolkit's call resolves to, retries for up to ~10 s.
extern "C" Display* XOpenDisplay(const char* name) {
    typedef Display* (*OpenDisplay)(const char*);
    static OpenDisplay openDisplay = (OpenDisplay)dlsym(RTLD_NEXT, "XOpenDisplay");
    for (int attempt = 0; attempt < 100; attempt++) {
        Display* display = openDisplay(name);
        if (display)
            return display;
        usleep(100000);
    }
    fprintf(stderr, "dustRidersTests: the display did not accept a connection\n");
    return nullptr;
}

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
