#include "platform/platform.h"

#include <GL/glew.h>
#include <GL/glx.h>
#include <cstdio>
#include <cstring>

EntryPoint lookupEntryPoint(const char* name) {
    return (EntryPoint)glXGetProcAddressARB((const GLubyte*)name);
}

bool hasGlExtension(const char* name) {
    GLint count = 0;
    glGetIntegerv(GL_NUM_EXTENSIONS, &count);
    PFNGLGETSTRINGIPROC getStringi = (PFNGLGETSTRINGIPROC)lookupEntryPoint("glGetStringi");
    if (count > 0 && getStringi) {
        for (GLint i = 0; i < count; i++) {
            const char* ext = (const char*)getStringi(GL_EXTENSIONS, i);
            if (ext && strcmp(ext, name) == 0)
                return true;
        }
        return false;
    }
    // Older contexts: one space-separated string; match whole words only.
    const char* all = (const char*)glGetString(GL_EXTENSIONS);
    size_t len = strlen(name);
    for (const char* p = all; p && (p = strstr(p, name)) != nullptr; p += len) {
        bool startsWord = (p == all || p[-1] == ' ');
        bool endsWord = (p[len] == ' ' || p[len] == '\0');
        if (startsWord && endsWord)
            return true;
    }
    return false;
}

void showErrorBox(const char* caption, const char* text, const char* path) {
    if (path)
        fprintf(stderr, "%s: %s (%s)\n", caption, text, path);
    else
        fprintf(stderr, "%s: %s\n", caption, text);
    fflush(stderr);
}
