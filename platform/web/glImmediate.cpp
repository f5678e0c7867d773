// glBegin/glEnd as a desktop driver merges them: vertices arrive in eye space (the modelview
// applied on the CPU), quads become triangles, polygon mode GL_LINE becomes edges, and the batch
// is drawn in one call when other state changes or the buffer fills. The particle pass's 14,999
// squares, each under its own matrix, become one draw call.
#include <cstring>

#include "platform/web/glLayer.h"
#include "platform/web/webgl.h"

struct BatchVertex {
    float position[3]; // eye coordinates
    float normal[3];   // eye coordinates
    float texCoord[2];
    float color[4];
};

const int BATCH_VERTICES = 65536;

LayerState layer;

static BatchVertex batch[BATCH_VERTICES];
static int batchCount;         // vertices in batch
static GLenum batchMode;       // GL_TRIANGLES or GL_LINES
static GLenum primitiveMode;   // the mode of the open glBegin, or 0
static BatchVertex pending[4]; // corners of the primitive being given
static int pendingCount;
static float beginModelview[16]; // the modelview of the open glBegin
static float beginNormal[9];     // its inverse transpose, upper 3 x 3, column-major
static GLuint vertexArray, vertexBuffer;

// ---- helpers ----
static void normalMatrixOf(const float m[16], float out[9]);
static void appendVertices(const BatchVertex* const* corners, int count, GLenum mode);
static void emitPrimitive();
static bool culledAsOutline();
static void bindAttribute(int index, int size, size_t offset);

// Inverse transpose of the upper 3 x 3, column-major in and out.
static void normalMatrixOf(const float m[16], float out[9]) {
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

static void appendVertices(const BatchVertex* const* corners, int count, GLenum mode) {
    if (batchCount > 0 && (mode != batchMode || batchCount + count > BATCH_VERTICES))
        flushBatch();
    batchMode = mode;
    for (int k = 0; k < count; k++)
        batch[batchCount++] = *corners[k];
}

// WebGL never culls lines, while GL culls a polygon before drawing its outline: the facing
// comes from the first three corners' winding in clip space (counter-clockwise is front).
static bool culledAsOutline() {
    if (!layer.cullFaces)
        return false;
    const float* m = layer.projection.matrices[layer.projection.top];
    float clip[3][3]; // x, y, w of each corner
    for (int k = 0; k < 3; k++) {
        const float* v = pending[k].position;
        const int rows[3] = {0, 1, 3};
        for (int r = 0; r < 3; r++)
            clip[k][r] =
                m[rows[r]] * v[0] + m[4 + rows[r]] * v[1] + m[8 + rows[r]] * v[2] + m[12 + rows[r]];
    }
    float area = clip[0][0] * (clip[1][1] * clip[2][2] - clip[1][2] * clip[2][1]) -
                 clip[0][1] * (clip[1][0] * clip[2][2] - clip[1][2] * clip[2][0]) +
                 clip[0][2] * (clip[1][0] * clip[2][1] - clip[1][1] * clip[2][0]);
    bool front = area > 0.0f;
    return layer.cullMode == GL_FRONT_AND_BACK || (layer.cullMode == GL_BACK) != front;
}

static void emitPrimitive() {
    const BatchVertex* p = pending;
    int corners = pendingCount;
    if (layer.polygonMode == GL_LINE) {
        if (culledAsOutline()) {
            pendingCount = 0;
            return;
        }
        const BatchVertex* edges[8];
        for (int k = 0; k < corners; k++) {
            edges[2 * k] = &p[k];
            edges[2 * k + 1] = &p[(k + 1) % corners];
        }
        appendVertices(edges, 2 * corners, GL_LINES);
    } else if (corners == 3) {
        const BatchVertex* triangle[3] = {&p[0], &p[1], &p[2]};
        appendVertices(triangle, 3, GL_TRIANGLES);
    } else {
        const BatchVertex* twoTriangles[6] = {&p[0], &p[1], &p[2], &p[0], &p[2], &p[3]};
        appendVertices(twoTriangles, 6, GL_TRIANGLES);
    }
    pendingCount = 0;
}

static void bindAttribute(int index, int size, size_t offset) {
    emscripten_glEnableVertexAttribArray(index);
    emscripten_glVertexAttribPointer(index, size, GL_FLOAT, GL_FALSE, sizeof(BatchVertex),
                                     (const void*)offset);
}

void initLayer(int width, int height) {
    memset(&layer, 0, sizeof layer);
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    memcpy(layer.modelview.matrices[0], identity, sizeof identity);
    memcpy(layer.projection.matrices[0], identity, sizeof identity);
    for (MatrixStack& stack : layer.texture)
        memcpy(stack.matrices[0], identity, sizeof identity);
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
    layer.colorWrites = true;
    layer.cullMode = GL_BACK;
    layer.viewport[2] = width;
    layer.viewport[3] = height;
    layer.unpackAlignment = 4;

    emscripten_glGenVertexArrays(1, &vertexArray);
    emscripten_glBindVertexArray(vertexArray);
    emscripten_glGenBuffers(1, &vertexBuffer);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    bindAttribute(ATTRIB_VERTEX, 3, offsetof(BatchVertex, position));
    bindAttribute(ATTRIB_NORMAL, 3, offsetof(BatchVertex, normal));
    bindAttribute(ATTRIB_TEXCOORD, 2, offsetof(BatchVertex, texCoord));
    bindAttribute(ATTRIB_COLOR, 4, offsetof(BatchVertex, color));
    useLayerProgram(0);
}

void flushBatch() {
    if (batchCount == 0)
        return;
    loadStateUniforms(useLayerProgram(layer.program));
    // A fresh store each time: rewriting the one the previous draw still reads makes it wait.
    emscripten_glBufferData(GL_ARRAY_BUFFER, batchCount * sizeof(BatchVertex), batch,
                            GL_STREAM_DRAW);
    emscripten_glDrawArrays(batchMode, 0, batchCount);
    batchCount = 0;
}

extern "C" {

void glBegin(GLenum mode) {
    if (mode != GL_TRIANGLES && mode != GL_QUADS) {
        layerUnsupported("glBegin with a mode other than GL_TRIANGLES or GL_QUADS");
        return;
    }
    primitiveMode = mode;
    pendingCount = 0;
    memcpy(beginModelview, layer.modelview.matrices[layer.modelview.top], sizeof beginModelview);
    normalMatrixOf(beginModelview, beginNormal);
}

void glEnd() {
    primitiveMode = 0;
    pendingCount = 0;
}

void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    if (primitiveMode == 0)
        return;
    const float* m = beginModelview;
    const float* n = beginNormal;
    const float* v = layer.normal;
    BatchVertex& out = pending[pendingCount++];
    for (int r = 0; r < 3; r++) {
        out.position[r] = m[r] * x + m[4 + r] * y + m[8 + r] * z + m[12 + r];
        out.normal[r] = n[r] * v[0] + n[3 + r] * v[1] + n[6 + r] * v[2];
    }
    memcpy(out.texCoord, layer.texCoord, sizeof out.texCoord);
    memcpy(out.color, layer.color, sizeof out.color);
    if (pendingCount == (primitiveMode == GL_QUADS ? 4 : 3))
        emitPrimitive();
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
    // Colour material's default: the colour becomes the front and back ambient and diffuse.
    if (layer.colorMaterial) {
        if (layer.program != 0)
            flushBatch();
        memcpy(layer.material.ambient, layer.color, sizeof layer.color);
        memcpy(layer.material.diffuse, layer.color, sizeof layer.color);
    }
}

} // extern "C"
