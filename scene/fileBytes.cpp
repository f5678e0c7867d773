#include "scene/fileBytes.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>

// No asset comes near this; a larger "file" is refused rather than allocated.
const long long MAX_FILE_BYTES = 1LL << 30;

bool readFileBytes(const char* path, unsigned char** data, size_t* size) {
    *data = nullptr;
    *size = 0;
    FILE* file = fopen(path, "rb");
    if (!file)
        return false;
    // Directories and devices open too; only a regular file has a size worth trusting.
    struct stat info;
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0 ||
        info.st_size > MAX_FILE_BYTES) {
        fclose(file);
        return false;
    }
    size_t length = (size_t)info.st_size;
    // One spare byte so an empty file still gets a real buffer.
    unsigned char* buffer = (unsigned char*)malloc(length + 1);
    size_t got = buffer ? fread(buffer, 1, length, file) : 0;
    bool failed = !buffer || got != length || ferror(file);
    fclose(file);
    if (failed) {
        free(buffer);
        return false;
    }
    *data = buffer;
    *size = got;
    return true;
}
