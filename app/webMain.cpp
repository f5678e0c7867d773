// The page's entry point, in place of main.cpp: the demo starts as on the desktop, then the
// page's address picks how the frames run: the show (?mode= absent), or one of the modes the
// checks use, each the twin of a desktop tool: the replay (?mode=replay) and the stage bench
// (?mode=bench), and the lesson of the "How it works" page (?lesson, app/webLesson.h).
#include <GL/glew.h>
#include <GL/freeglut.h>
#include <emscripten.h>

#include "app/startDemo.h"
#include "app/webLesson.h"
#include "app/window.h"
#include "bench/pageBench.h"
#include "tools/replay/pageReplay.h"

// ---- helpers ----
static bool pageModeIs(const char* name);

static bool pageModeIs(const char* name) {
    return EM_ASM_INT({ return Module.pageMode == UTF8ToString($0) ? 1 : 0; }, name) != 0;
}

int main(int argc, char** argv) {
    startDemo(argc, argv);
    if (pageModeIs("replay") || pageModeIs("bench")) {
        // What GLUT does to a new window before its first frame.
        reshapeWindow(windowWidth, windowHeight);
        if (pageModeIs("replay"))
            runPageReplay();
        else
            runPageBench();
        return 0;
    }
    if (pageModeIs("lesson")) {
        runLesson();
        return 0;
    }
    glutMainLoop();
    return 0;
}
