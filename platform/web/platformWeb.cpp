#include <cstdio>
#include <emscripten.h>

#include "platform/platform.h"
#include "platform/web/glutShell.h"

// The console gets the desktop's line; the page shows the same text in a box the viewer closes,
// and the demo goes on.
void showErrorBox(const char* caption, const char* text, const char* path) {
    if (path)
        fprintf(stderr, "%s: %s (%s)\n", caption, text, path);
    else
        fprintf(stderr, "%s: %s\n", caption, text);
    EM_ASM(
        {
            if (Module.showMessage)
                Module.showMessage(UTF8ToString($0), UTF8ToString($1), $2 ? UTF8ToString($2) : "");
        },
        caption, text, path);
}

// A page cannot close itself: the frames stop and the page says how to watch again.
void endProgram(int status) {
    stopFrameLoop();
    EM_ASM(
        {
            if (Module.onDemoEnded)
                Module.onDemoEnded($0);
        },
        status);
}
