#include "scene/fileBytes.h"

#include <cstdio>
#include <cstdlib>

bool readFileBytes(const char* path, unsigned char** data, size_t* size) {
    *data = nullptr;
    *size = 0;
    FILE* file = fopen(path, "rb");
    if (!file)
        return false;
    long length = -1;
    if (fseek(file, 0, SEEK_END) == 0)
        length = ftell(file);
    if (length < 0 || fseek(file, 0, SEEK_SET) != 0) {
        fclose(file);
        return false;
    }
    // One spare byte so an empty file still gets a real buffer.
    unsigned char* buffer = (unsigned char*)malloc((size_t)length + 1);
    size_t got = buffer ? fread(buffer, 1, (size_t)length, file) : 0;
    bool failed = !buffer || got != (size_t)length || ferror(file);
    fclose(file);
    if (failed) {
        free(buffer);
        return false;
    }
    *data = buffer;
    *size = got;
    return true;
}
