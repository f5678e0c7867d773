#include <GL/glew.h>
#include <cstring>

#include "platform/platform.h"

bool extensionInList(const char* list, const char* name) {
    // An empty name matches at every position and would never advance the search.
    if (list == nullptr || name == nullptr || name[0] == '\0')
        return false;
    size_t len = strlen(name);
    for (const char* p = list; (p = strstr(p, name)) != nullptr; p += len) {
        bool startsWord = (p == list || p[-1] == ' ');
        bool endsWord = (p[len] == ' ' || p[len] == '\0');
        if (startsWord && endsWord)
            return true;
    }
    return false;
}

bool hasGlExtension(const char* name) {
    if (name == nullptr || name[0] == '\0')
        return false;
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
    // Older contexts list their extensions in one string.
    return extensionInList((const char*)glGetString(GL_EXTENSIONS), name);
}
