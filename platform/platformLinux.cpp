#include <GL/glew.h>
#include <GL/glx.h>
#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"

EntryPoint lookupEntryPoint(const char* name) {
    return (EntryPoint)glXGetProcAddressARB((const GLubyte*)name);
}

void showErrorBox(const char* caption, const char* text, const char* path) {
    if (path)
        fprintf(stderr, "%s: %s (%s)\n", caption, text, path);
    else
        fprintf(stderr, "%s: %s\n", caption, text);
    fflush(stderr);
}

void endProgram(int status) {
    exit(status);
}
