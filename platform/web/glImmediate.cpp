// glBegin/glEnd. A block's vertices are gathered in object space with only the attributes its
// program reads. At glEnd a large block (a scene object) is drawn from buffers the layer keeps,
// under the modelview as a uniform, as a desktop driver would draw a display list; a small one
// (a particle's square) is moved into eye space on the CPU and joins the batch, so that the
// particle pass's 14,999 squares, each under its own matrix, become one draw call (of those not
// wholly outside the view). Quads stay four vertices in the batch and are drawn through a shared
// index buffer; polygon mode GL_LINE turns polygons into edges. The batch is drawn when state it
// depends on changes or it fills.
#include <cmath>
#include <cstring>

#include "platform/web/glLayer.h"
#include "platform/web/webgl.h"

const int BATCH_VERTICES = 65536; // 16,384 squares: the particles' 14,999 fit
const int BATCH_QUADS = BATCH_VERTICES / 4;
const int STAGED_VERTICES = 98304; // a multiple of 3 and 4: overflow ends on a primitive
const int SMALL_BLOCK = 24;        // fewer vertices than this go through the batch

LayerState layer;
LayerCounts layerCounts;

static float batch[BATCH_VERTICES * VERTEX_MAX_FLOATS];
static int batchCount;      // vertices in batch
static GLenum batchMode;    // GL_TRIANGLES, GL_QUADS or GL_LINES
static int batchFormat;     // FORMAT_* bits of its vertices
static GLuint batchProgram; // the WebGL program it is drawn with
static GLuint vertexArray, vertexBuffer, quadIndexBuffer;
static int arrayFormat = -1; // the format vertexArray's pointers were set for

static float staged[STAGED_VERTICES * VERTEX_MAX_FLOATS]; // the open block, object space
static int stagedCount;
static bool streamed;        // the open block overflowed staging and goes through the batch
static GLenum primitiveMode; // the mode of the open glBegin, or 0
static int blockFormat, blockStride, blockOffsets[3];
static float beginModelview[16]; // the modelview of the open glBegin
static float beginNormal[9];     // its inverse transpose, upper 3 x 3, column-major

static const float IDENTITY[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// ---- helpers ----
static void appendVertices(const float* const* corners, int count, GLenum mode);
static void batchPrimitive(float corners[][VERTEX_MAX_FLOATS], int count);
static void batchStaged();
static void eyeToClip(const float* eye, float clip[4]);
static bool culledAsOutline(float corners[][VERTEX_MAX_FLOATS]);
static bool outsideView(float corners[][VERTEX_MAX_FLOATS], int count);
static void pointBatchAttributes();

void layerNormalMatrix(const float m[16], float out[9]) {
    float a = m[0], b = m[4], c = m[8], d = m[1], e = m[5], f = m[9], g = m[2], h = m[6], i = m[10];
    float co[9] = {e * i - f * h,    -(d * i - f * g), d * h - e * g,
                   -(b * i - c * h), a * i - c * g,    -(a * h - b * g),
                   b * f - c * e,    -(a * f - c * d), a * e - b * d};
    float det = a * co[0] + b * co[1] + c * co[2];
    if (det == 0.0f)
        det = 1.0f;
    // Cofactor (row r, column c) at co[r * 3 + c]; the inverse transpose is cofactors / det.
    for (int r = 0; r < 3; r++)
        for (int col = 0; col < 3; col++)
            out[col * 3 + r] = co[r * 3 + col] / det;
}

int formatStride(int format, int offsets[3]) {
    int stride = 3;
    const int sizes[3] = {3, 2, 4};
    for (int a = 0; a < 3; a++) {
        offsets[a] = (format & (1 << a)) ? stride : -1;
        stride += (format & (1 << a)) ? sizes[a] : 0;
    }
    return stride;
}

static void appendVertices(const float* const* corners, int count, GLenum mode) {
    GLuint program = useLayerProgram(layer.program);
    if (batchCount > 0 && (mode != batchMode || blockFormat != batchFormat ||
                           program != batchProgram || batchCount + count > BATCH_VERTICES))
        flushBatch();
    batchMode = mode;
    batchFormat = blockFormat;
    batchProgram = program;
    for (int k = 0; k < count; k++)
        memcpy(&batch[(batchCount++) * blockStride], corners[k], blockStride * sizeof(float));
}

// An eye-space point under the current projection.
static void eyeToClip(const float* eye, float clip[4]) {
    const float* m = layer.projection.matrices[layer.projection.top];
    for (int r = 0; r < 4; r++)
        clip[r] = m[r] * eye[0] + m[4 + r] * eye[1] + m[8 + r] * eye[2] + m[12 + r];
}

// WebGL never culls lines, while GL culls a polygon before drawing its outline: the facing
// comes from the first three corners' winding in clip space (counter-clockwise is front).
static bool culledAsOutline(float corners[][VERTEX_MAX_FLOATS]) {
    if (!layer.cullFaces)
        return false;
    float clip[3][4];
    for (int k = 0; k < 3; k++)
        eyeToClip(corners[k], clip[k]);
    // The determinant of the corners' (x, y, w).
    float area = clip[0][0] * (clip[1][1] * clip[2][3] - clip[1][3] * clip[2][1]) -
                 clip[0][1] * (clip[1][0] * clip[2][3] - clip[1][3] * clip[2][0]) +
                 clip[0][3] * (clip[1][0] * clip[2][1] - clip[1][1] * clip[2][0]);
    bool front = area > 0.0f;
    return layer.cullMode == GL_FRONT_AND_BACK || (layer.cullMode == GL_BACK) != front;
}

// True when every corner lies beyond one and the same side of the view volume in clip space:
// GL would clip the whole primitive away. Most of the particles' squares are off screen, and
// leaving them out spares the GPU their vertices. The margin keeps a primitive whose corners are
// beyond a side only by rounding.
static bool outsideView(float corners[][VERTEX_MAX_FLOATS], int count) {
    int outside = 63; // bit 2a: beyond +w on axis a, bit 2a + 1: beyond -w
    for (int k = 0; k < count && outside != 0; k++) {
        float clip[4];
        eyeToClip(corners[k], clip);
        float w = clip[3], margin = 1e-4f * fabsf(w);
        int sides = 0;
        for (int a = 0; a < 3; a++) {
            sides |= (clip[a] > w + margin) << (2 * a);
            sides |= (clip[a] < -w - margin) << (2 * a + 1);
        }
        outside &= sides;
    }
    return outside != 0;
}

// One primitive's corners, already in eye space, into the batch, unless GL would clip it away.
static void batchPrimitive(float corners[][VERTEX_MAX_FLOATS], int count) {
    if (outsideView(corners, count))
        return;
    const float* p[8];
    if (layer.polygonMode == GL_LINE) {
        if (culledAsOutline(corners))
            return;
        for (int k = 0; k < count; k++) {
            p[2 * k] = corners[k];
            p[2 * k + 1] = corners[(k + 1) % count];
        }
        appendVertices(p, 2 * count, GL_LINES);
        return;
    }
    for (int k = 0; k < count; k++)
        p[k] = corners[k];
    appendVertices(p, count, count == 4 ? GL_QUADS : GL_TRIANGLES);
}

// The staged vertices into eye space under the block's modelview, primitive by primitive.
static void batchStaged() {
    const int corners = primitiveMode == GL_QUADS ? 4 : 3;
    const float* m = beginModelview;
    const float* n = beginNormal;
    const int normalAt = blockOffsets[0];
    float eye[4][VERTEX_MAX_FLOATS];
    for (int first = 0; first + corners <= stagedCount; first += corners) {
        for (int k = 0; k < corners; k++) {
            const float* v = &staged[(first + k) * blockStride];
            float* out = eye[k];
            memcpy(out, v, blockStride * sizeof(float));
            for (int r = 0; r < 3; r++) {
                out[r] = m[r] * v[0] + m[4 + r] * v[1] + m[8 + r] * v[2] + m[12 + r];
                if (normalAt >= 0)
                    out[normalAt + r] = n[r] * v[normalAt] + n[3 + r] * v[normalAt + 1] +
                                        n[6 + r] * v[normalAt + 2];
            }
        }
        batchPrimitive(eye, corners);
    }
    stagedCount = 0;
}

static void pointBatchAttributes() {
    int offsets[3];
    int stride = formatStride(batchFormat, offsets) * (int)sizeof(float);
    emscripten_glEnableVertexAttribArray(ATTRIB_VERTEX);
    emscripten_glVertexAttribPointer(ATTRIB_VERTEX, 3, GL_FLOAT, GL_FALSE, stride, 0);
    const int sizes[3] = {3, 2, 4};
    const int indexes[3] = {ATTRIB_NORMAL, ATTRIB_TEXCOORD, ATTRIB_COLOR};
    for (int a = 0; a < 3; a++) {
        if (offsets[a] < 0) {
            emscripten_glDisableVertexAttribArray(indexes[a]);
            continue;
        }
        emscripten_glEnableVertexAttribArray(indexes[a]);
        emscripten_glVertexAttribPointer(indexes[a], sizes[a], GL_FLOAT, GL_FALSE, stride,
                                         (const void*)(size_t)(offsets[a] * sizeof(float)));
    }
    arrayFormat = batchFormat;
}

void createBatchBuffers() {
    emscripten_glGenVertexArrays(1, &vertexArray);
    emscripten_glBindVertexArray(vertexArray);
    emscripten_glGenBuffers(1, &vertexBuffer);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    // Every square's two triangles, made once: the batch then sends four vertices a square.
    static unsigned short quadIndexes[BATCH_QUADS * 6];
    const int corners[6] = {0, 1, 2, 0, 2, 3};
    for (int q = 0; q < BATCH_QUADS; q++)
        for (int k = 0; k < 6; k++)
            quadIndexes[q * 6 + k] = (unsigned short)(q * 4 + corners[k]);
    emscripten_glGenBuffers(1, &quadIndexBuffer);
    emscripten_glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, quadIndexBuffer);
    emscripten_glBufferData(GL_ELEMENT_ARRAY_BUFFER, sizeof quadIndexes, quadIndexes,
                            GL_STATIC_DRAW);
    layerCounts.bytesUploaded += sizeof quadIndexes;
    arrayFormat = -1;
    batchCount = 0;
}

void initLayer(int width, int height) {
    memset(&layer, 0, sizeof layer);
    memcpy(layer.modelview.matrices[0], IDENTITY, sizeof IDENTITY);
    memcpy(layer.projection.matrices[0], IDENTITY, sizeof IDENTITY);
    for (MatrixStack& stack : layer.texture)
        memcpy(stack.matrices[0], IDENTITY, sizeof IDENTITY);
    layer.matrixMode = GL_MODELVIEW;
    // GL's initial light, material and light model values.
    for (int i = 0; i < LAYER_LIGHTS; i++) {
        LightState& light = layer.lights[i];
        float white = i == 0 ? 1.0f : 0.0f;
        const float values[4][4] = {
            {0, 0, 0, 1}, {white, white, white, 1}, {white, white, white, 1}, {0, 0, 1, 0}};
        memcpy(light.ambient, values[0], sizeof values[0]);
        memcpy(light.diffuse, values[1], sizeof values[1]);
        memcpy(light.specular, values[2], sizeof values[2]);
        memcpy(light.position, values[3], sizeof values[3]);
    }
    const float materialValues[3][4] = {{0.2f, 0.2f, 0.2f, 1}, {0.8f, 0.8f, 0.8f, 1}, {0, 0, 0, 1}};
    memcpy(layer.material.ambient, materialValues[0], sizeof materialValues[0]);
    memcpy(layer.material.diffuse, materialValues[1], sizeof materialValues[1]);
    memcpy(layer.material.specular, materialValues[2], sizeof materialValues[2]);
    memcpy(layer.lightModelAmbient, materialValues[0], sizeof materialValues[0]);
    const float white[4] = {1, 1, 1, 1};
    memcpy(layer.color, white, sizeof white);
    layer.normal[2] = 1.0f;
    layer.polygonMode = GL_FILL;
    layer.colorMask = 15;
    layer.colorWrites = true;
    layer.cullMode = GL_BACK;
    layer.viewport[2] = width;
    layer.viewport[3] = height;
    layer.unpackAlignment = 4;
    primitiveMode = 0;
    createBatchBuffers();
    useLayerProgram(0);
}

void flushBatch() {
    if (batchCount == 0)
        return;
    int count = batchCount;
    batchCount = 0;
    GLuint program = useLayerProgram(layer.program);
    loadStateUniforms(program, IDENTITY);
    emscripten_glBindVertexArray(vertexArray);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    int offsets[3];
    size_t bytes = (size_t)count * formatStride(batchFormat, offsets) * sizeof(float);
    // A fresh store each time: rewriting the one the previous draw still reads makes it wait.
    emscripten_glBufferData(GL_ARRAY_BUFFER, bytes, batch, GL_STREAM_DRAW);
    if (arrayFormat != batchFormat)
        pointBatchAttributes();
    layerCounts.bytesUploaded += bytes;
    layerCounts.drawCalls++;
    if (batchMode == GL_QUADS)
        emscripten_glDrawElements(GL_TRIANGLES, count / 4 * 6, GL_UNSIGNED_SHORT, 0);
    else
        emscripten_glDrawArrays(batchMode, 0, count);
}

void flushBatchIfRead(StateGroup group, int index) {
    if (batchCount > 0 && programReads(batchProgram, group, index))
        flushBatch();
}

extern "C" {

void glBegin(GLenum mode) {
    if (mode != GL_TRIANGLES && mode != GL_QUADS) {
        layerUnsupported("glBegin with a mode other than GL_TRIANGLES or GL_QUADS");
        return;
    }
    primitiveMode = mode;
    stagedCount = 0;
    streamed = false;
    blockFormat = programFormat(useLayerProgram(layer.program));
    blockStride = formatStride(blockFormat, blockOffsets);
    memcpy(beginModelview, layer.modelview.matrices[layer.modelview.top], sizeof beginModelview);
    layerNormalMatrix(beginModelview, beginNormal);
}

void glEnd() {
    if (primitiveMode == 0)
        return;
    const int corners = primitiveMode == GL_QUADS ? 4 : 3;
    stagedCount -= stagedCount % corners; // GL ignores an unfinished primitive
    bool kept = !streamed && stagedCount >= SMALL_BLOCK && layer.polygonMode == GL_FILL &&
                drawKeptBlock(staged, stagedCount, blockFormat, primitiveMode, beginModelview);
    if (!kept)
        batchStaged();
    primitiveMode = 0;
    stagedCount = 0;
}

void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    if (primitiveMode == 0)
        return;
    if (stagedCount == STAGED_VERTICES) {
        streamed = true;
        batchStaged();
    }
    float* out = &staged[(stagedCount++) * blockStride];
    out[0] = x;
    out[1] = y;
    out[2] = z;
    if (blockOffsets[0] >= 0)
        memcpy(out + blockOffsets[0], layer.normal, sizeof layer.normal);
    if (blockOffsets[1] >= 0)
        memcpy(out + blockOffsets[1], layer.texCoord, sizeof layer.texCoord);
    if (blockOffsets[2] >= 0)
        memcpy(out + blockOffsets[2], layer.color, sizeof layer.color);
}

void glVertex2f(GLfloat x, GLfloat y) {
    glVertex3f(x, y, 0.0f);
}

void glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
    layer.normal[0] = x;
    layer.normal[1] = y;
    layer.normal[2] = z;
}

void glTexCoord2f(GLfloat s, GLfloat t) {
    layer.texCoord[0] = s;
    layer.texCoord[1] = t;
}

void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    const float given[4] = {r, g, b, a};
    for (int c = 0; c < 4; c++)
        layer.color[c] = given[c] < 0.0f ? 0.0f : given[c] > 1.0f ? 1.0f : given[c];
    // Colour material's default: the colour becomes the front and back ambient and diffuse. The
    // batch's vertices carry their own colour; its material matters only to a program that
    // reads it (the fixed one does not).
    if (layer.colorMaterial) {
        flushBatchIfRead(READS_MATERIAL, 0);
        memcpy(layer.material.ambient, layer.color, sizeof layer.color);
        memcpy(layer.material.diffuse, layer.color, sizeof layer.color);
    }
}

} // extern "C"
