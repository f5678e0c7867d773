#include "scene/load3ds.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"
#include "scene/fileBytes.h"

// ---- helpers ----
static uint16_t readU16(const unsigned char* p);
static uint32_t readU32(const unsigned char* p);
static size_t readName(const unsigned char* data, size_t size, size_t pos, SceneObject* object,
                       const char* path);
static bool readList(const unsigned char* data, size_t size, uint16_t id, SceneObject* object,
                     const char* path, size_t* pos);
static void warn(const char* path, const char* what, size_t offset);

// Stored floats are copied byte for byte into the records, which only works on this byte order.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "3DS data is little-endian");
static_assert(sizeof(Vec3f) == 12 && sizeof(TexCoord2f) == 8, "records must match the file");

const size_t CHUNK_HEADER_SIZE = 6;
const size_t NAME_CAPACITY = sizeof(((SceneObject*)nullptr)->name);

bool load3dsFile(SceneObject* object, const char* path) {
    if (!path)
        return false;
    unsigned char* data = nullptr;
    size_t size = 0;
    if (!readFileBytes(path, &data, &size)) {
        showErrorBox("Dust Riders", "3DS file not found", path);
        return false;
    }
    bool walked = parse3dsChunks(data, size, object, path);
    free(data);
    return walked;
}

bool parse3dsChunks(const unsigned char* data, size_t size, SceneObject* object,
                    const char* pathForMessages) {
    size_t pos = 0;
    while (pos < size) {
        if (size - pos < CHUNK_HEADER_SIZE) {
            warn(pathForMessages, "chunk header cut off", pos);
            break;
        }
        uint16_t id = readU16(data + pos);
        uint32_t length = readU32(data + pos + 2);
        size_t chunkStart = pos;
        pos += CHUNK_HEADER_SIZE;
        switch (id) {
        case 0x4D4D: // main chunk
        case 0x3D3D: // 3D editor chunk
        case 0x4100: // triangular mesh
            break;
        case 0x4000: // object block: its name, then its sub-chunks
            pos = readName(data, size, pos, object, pathForMessages);
            break;
        case 0x4110: // vertices list
        case 0x4120: // faces description
        case 0x4140: // mapping coordinates list
            if (!readList(data, size, id, object, pathForMessages, &pos))
                return true;
            break;
        default:
            // Only a skipped chunk uses its length; below 6 it would lead back to this header.
            if (length < CHUNK_HEADER_SIZE) {
                warn(pathForMessages, "chunk length below 6", chunkStart);
                return true;
            }
            if (length > size - chunkStart) {
                warn(pathForMessages, "chunk reaches past the end of the file", chunkStart);
                return true;
            }
            pos = chunkStart + length;
            break;
        }
    }
    return true;
}

static uint16_t readU16(const unsigned char* p) {
    return (uint16_t)(p[0] | (p[1] << 8));
}

static uint32_t readU32(const unsigned char* p) {
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}

// Keeps at most 19 characters and a terminator; a longer name is read on to its NUL so the walk
// stays aligned. Returns the position after the NUL (or the file end).
static size_t readName(const unsigned char* data, size_t size, size_t pos, SceneObject* object,
                       const char* path) {
    size_t start = pos;
    size_t stored = 0;
    while (pos < size) {
        char c = (char)data[pos++];
        if (c == '\0')
            break;
        if (stored < NAME_CAPACITY - 1)
            object->name[stored++] = c;
    }
    object->name[stored] = '\0';
    if (pos - start > NAME_CAPACITY)
        warn(path, "object name longer than 19 characters, shortened", start);
    return pos;
}

// Reads one of the three lists into object and moves *pos past it. A list cut off by the end of
// the file keeps the records that are there, warns, and returns false: the walk is over.
static bool readList(const unsigned char* data, size_t size, uint16_t id, SceneObject* object,
                     const char* path, size_t* pos) {
    size_t recordSize = id == 0x4110 ? 12 : 8;
    const char* what = id == 0x4110   ? "vertices list cut off"
                       : id == 0x4120 ? "faces list cut off"
                                      : "mapping list cut off";
    if (size - *pos < 2) {
        warn(path, what, *pos);
        return false;
    }
    size_t count = readU16(data + *pos);
    const unsigned char* records = data + *pos + 2;
    size_t available = (size - *pos - 2) / recordSize;
    bool cutOff = available < count;
    if (cutOff) {
        warn(path, what, *pos);
        count = available;
    }
    if (id == 0x4110) {
        object->vertexCount = (int)count;
        memcpy(object->vertices, records, count * sizeof(Vec3f));
    } else if (id == 0x4120) {
        object->polygonCount = (int)count;
        Triangle* polygons = object->polygons;
        // Indices are zero-extended; the fourth word (face flags) is not used.
        for (size_t i = 0; i < count; i++, records += 8) {
            polygons[i].a = readU16(records);
            polygons[i].b = readU16(records + 2);
            polygons[i].c = readU16(records + 4);
        }
    } else {
        // Mapping coordinates have no count of their own: they pair with the vertices.
        memcpy(object->texCoords, records, count * sizeof(TexCoord2f));
    }
    *pos += 2 + count * recordSize;
    return !cutOff;
}

static void warn(const char* path, const char* what, size_t offset) {
    fprintf(stderr, "Dust Riders: 3DS file: %s at byte %zu (%s)\n", what, offset,
            path ? path : "in memory");
}
