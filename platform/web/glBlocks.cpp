// Kept blocks: the scene's glBegin/glEnd blocks, which give the same vertices every frame, drawn
// from buffers made once. A block is looked up by a hash of a sample of its vertices and then
// proven the same word by word against the copy of the stream the layer keeps, so a block whose
// attributes changed anywhere is sent again. The buffers hold each distinct vertex once and an
// index per corner: the GPU shades a shared corner once. The texture and the modelview are not
// part of a block: they are state, bound or sent as a uniform when it is drawn. When the pool is
// full, every kept block is dropped and the blocks are kept again as they are drawn.
#include <cstring>

#include "platform/web/glLayer.h"
#include "platform/web/webgl.h"

const int BLOCK_SLOTS = 512;      // a power of two, at most three quarters used
const int POOL_FLOATS = 4 << 20;  // every kept block's stream as given, 16 MB
const int LARGEST_BLOCK = 98304;  // the most vertices glBegin/glEnd gathers
const int DEDUPE_SLOTS = 1 << 18; // a power of two, over twice LARGEST_BLOCK
const int HASH_STEP = 61;         // every 61st vertex and the last are hashed

struct KeptBlock {
    bool used;
    unsigned hash;
    int count, format; // vertices as given; FORMAT_* bits
    GLenum mode;       // GL_TRIANGLES or GL_QUADS
    int firstFloat;    // its stream in streamPool, count vertices
    int triangleIndexes;
    GLuint vertexArray, vertexBuffer, indexBuffer;
};

static KeptBlock blocks[BLOCK_SLOTS];
static int keptCount;
static float streamPool[POOL_FLOATS];
static int poolFloats;

// ---- helpers ----
static unsigned hashWords(const float* values, int count, unsigned seed);
static unsigned hashSample(const float* vertices, int count, int stride, unsigned seed);
static bool sameWords(const float* a, const float* b, int count);
static void dropKeptBlocks();
static KeptBlock* keepBlock(int slot, const float* vertices, int count, int format, GLenum mode,
                            unsigned hash);
static void uploadBlock(KeptBlock& b, const float* distinct, int distinctCount,
                        const unsigned* corners, int stride);

// FNV-1a over the floats' bits.
static unsigned hashWords(const float* values, int count, unsigned seed) {
    unsigned h = seed;
    for (int i = 0; i < count; i++) {
        unsigned word;
        memcpy(&word, &values[i], sizeof word);
        h = (h ^ word) * 16777619u;
    }
    return h;
}

// The proof is exact: every word of the stream is compared, so the hash need not see them all.
static unsigned hashSample(const float* vertices, int count, int stride, unsigned seed) {
    unsigned h = seed;
    if (count <= 0)
        return h;
    for (int i = 0; i < count; i += HASH_STEP)
        h = hashWords(&vertices[i * stride], stride, h);
    return hashWords(&vertices[(count - 1) * stride], stride, h);
}

// Bits, not values: -0 against 0 or a NaN must be sent again as the GL would see it. Two words
// at a time; the library's memcmp goes byte by byte here.
static bool sameWords(const float* a, const float* b, int count) {
    unsigned long long x, y;
    int i = 0;
    for (; i + 2 <= count; i += 2) {
        memcpy(&x, &a[i], sizeof x);
        memcpy(&y, &b[i], sizeof y);
        if (x != y)
            return false;
    }
    return i == count || memcmp(&a[i], &b[i], sizeof(float)) == 0;
}

static void dropKeptBlocks() {
    for (KeptBlock& b : blocks) {
        if (!b.used)
            continue;
        emscripten_glDeleteVertexArrays(1, &b.vertexArray);
        emscripten_glDeleteBuffers(1, &b.vertexBuffer);
        emscripten_glDeleteBuffers(1, &b.indexBuffer);
    }
    memset(blocks, 0, sizeof blocks);
    keptCount = 0;
    poolFloats = 0;
}

void forgetLayerBuffers() {
    dropKeptBlocks();
    createBatchBuffers();
}

static void uploadBlock(KeptBlock& b, const float* distinct, int distinctCount,
                        const unsigned* corners, int stride) {
    static unsigned triangles[LARGEST_BLOCK / 4 * 6];
    const unsigned* gpuIndexes = corners;
    b.triangleIndexes = b.count;
    if (b.mode == GL_QUADS) {
        const int split[6] = {0, 1, 2, 0, 2, 3};
        b.triangleIndexes = 0;
        for (int q = 0; q + 4 <= b.count; q += 4)
            for (int k : split)
                triangles[b.triangleIndexes++] = corners[q + k];
        gpuIndexes = triangles;
    }
    emscripten_glGenVertexArrays(1, &b.vertexArray);
    emscripten_glBindVertexArray(b.vertexArray);
    emscripten_glGenBuffers(1, &b.vertexBuffer);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, b.vertexBuffer);
    size_t vertexBytes = (size_t)distinctCount * stride * sizeof(float);
    emscripten_glBufferData(GL_ARRAY_BUFFER, vertexBytes, distinct, GL_STATIC_DRAW);
    int offsets[3];
    formatStride(b.format, offsets);
    const int bytes = stride * (int)sizeof(float);
    emscripten_glEnableVertexAttribArray(ATTRIB_VERTEX);
    emscripten_glVertexAttribPointer(ATTRIB_VERTEX, 3, GL_FLOAT, GL_FALSE, bytes, 0);
    const int sizes[3] = {3, 2, 4};
    const int indexes[3] = {ATTRIB_NORMAL, ATTRIB_TEXCOORD, ATTRIB_COLOR};
    for (int a = 0; a < 3; a++) {
        if (offsets[a] < 0)
            continue; // a new vertex array has every attribute off
        emscripten_glEnableVertexAttribArray(indexes[a]);
        emscripten_glVertexAttribPointer(indexes[a], sizes[a], GL_FLOAT, GL_FALSE, bytes,
                                         (const void*)(size_t)(offsets[a] * sizeof(float)));
    }
    emscripten_glGenBuffers(1, &b.indexBuffer);
    emscripten_glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, b.indexBuffer);
    size_t indexBytes = (size_t)b.triangleIndexes * sizeof(unsigned);
    emscripten_glBufferData(GL_ELEMENT_ARRAY_BUFFER, indexBytes, gpuIndexes, GL_STATIC_DRAW);
    layerCounts.bytesUploaded += vertexBytes + indexBytes;
}

// Copies the block's stream into the pool and makes its buffers of distinct vertices; null when
// it does not fit even in an empty pool.
static KeptBlock* keepBlock(int slot, const float* vertices, int count, int format, GLenum mode,
                            unsigned hash) {
    int offsets[3];
    int stride = formatStride(format, offsets);
    if (count > LARGEST_BLOCK)
        return nullptr;
    if (keptCount + 1 > BLOCK_SLOTS * 3 / 4 || poolFloats + count * stride > POOL_FLOATS) {
        dropKeptBlocks();
        slot = hash & (BLOCK_SLOTS - 1);
    }
    static int dedupe[DEDUPE_SLOTS]; // distinct vertex + 1, 0 for free
    static float distinct[LARGEST_BLOCK * VERTEX_MAX_FLOATS];
    static unsigned corners[LARGEST_BLOCK];
    memset(dedupe, 0, sizeof dedupe);
    KeptBlock& b = blocks[slot];
    b = KeptBlock{true, hash, count, format, mode, poolFloats, 0, 0, 0, 0};
    memcpy(&streamPool[b.firstFloat], vertices, (size_t)count * stride * sizeof(float));
    int distinctCount = 0;
    for (int i = 0; i < count; i++) {
        const float* v = &vertices[i * stride];
        unsigned probe = hashWords(v, stride, 2166136261u) & (DEDUPE_SLOTS - 1);
        while (dedupe[probe] != 0 &&
               memcmp(&distinct[(dedupe[probe] - 1) * stride], v, stride * sizeof(float)) != 0)
            probe = (probe + 1) & (DEDUPE_SLOTS - 1);
        if (dedupe[probe] == 0) {
            memcpy(&distinct[distinctCount * stride], v, stride * sizeof(float));
            dedupe[probe] = ++distinctCount;
        }
        corners[i] = (unsigned)(dedupe[probe] - 1);
    }
    poolFloats += count * stride;
    keptCount++;
    uploadBlock(b, distinct, distinctCount, corners, stride);
    return &b;
}

bool drawKeptBlock(const float* vertices, int count, int format, GLenum mode,
                   const float modelview[16]) {
    int offsets[3];
    int stride = formatStride(format, offsets);
    unsigned hash =
        hashSample(vertices, count, stride, 2166136261u ^ (unsigned)(format * 31 + mode));
    int slot = hash & (BLOCK_SLOTS - 1);
    KeptBlock* found = nullptr;
    for (; blocks[slot].used; slot = (slot + 1) & (BLOCK_SLOTS - 1)) {
        const KeptBlock& b = blocks[slot];
        if (b.hash == hash && b.count == count && b.format == format && b.mode == mode &&
            sameWords(&streamPool[b.firstFloat], vertices, count * stride)) {
            found = &blocks[slot];
            break;
        }
    }
    flushBatch();
    if (found == nullptr)
        found = keepBlock(slot, vertices, count, format, mode, hash);
    if (found == nullptr)
        return false;
    loadStateUniforms(useLayerProgram(layer.program), modelview);
    emscripten_glBindVertexArray(found->vertexArray);
    emscripten_glDrawElements(GL_TRIANGLES, found->triangleIndexes, GL_UNSIGNED_INT, 0);
    layerCounts.drawCalls++;
    if (layer.framebuffer != 0 && layer.framebuffer == layer.depthTarget) {
        layer.unflushedIndexes += found->triangleIndexes;
        if (layer.unflushedIndexes >= SHADOW_FLUSH_INDEXES) {
            emscripten_glFlush();
            layer.unflushedIndexes = 0;
        }
    }
    return true;
}
