// Feeds arbitrary bytes to the in-memory 3DS walk. Run with -close_fd_mask=2: damaged input
// makes the walk print a warning line for nearly every case.
#include <cstdint>
#include <cstring>

#include "scene/load3ds.h"

static SceneObject record; // ~4 MB: one record for every input, reset only where checked

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    record.vertexCount = -1;
    record.polygonCount = -1;
    memcpy(record.name, "untouched", 10);
    parse3dsChunks(data, size, &record, "fuzz input");
    // Counts are either untouched or what a 16-bit list could really hold in this input.
    size_t maxRecords = size / 8;
    if (record.vertexCount < -1 || record.vertexCount > 65535 ||
        (record.vertexCount > 0 && (size_t)record.vertexCount * 12 > size))
        __builtin_trap();
    if (record.polygonCount < -1 || record.polygonCount > 65535 ||
        (record.polygonCount > 0 && (size_t)record.polygonCount > maxRecords))
        __builtin_trap();
    if (!memchr(record.name, '\0', sizeof(record.name)))
        __builtin_trap();
    for (int i = 0; i < record.polygonCount; i++)
        if (record.polygons[i].a < 0 || record.polygons[i].a > 65535)
            __builtin_trap();
    return 0;
}
