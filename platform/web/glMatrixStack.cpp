// Matrix stacks and the calls that change them. A block takes the modelview of its glBegin
// (batched vertices are moved into eye space with it), so changing it never ends a batch; the
// projection and texture matrices are uniforms and end one whose program reads them.
#include <GL/glu.h>
#include <cmath>
#include <cstring>

#include "platform/web/glLayer.h"

// ---- helpers ----
static MatrixStack& currentStack();
static void setIdentity(float m[16]);
static void multiplyCurrent(const float m[16]);
static void beforeMatrixChange();

static const float IDENTITY[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

static MatrixStack& currentStack() {
    if (layer.matrixMode == GL_PROJECTION)
        return layer.projection;
    if (layer.matrixMode == GL_TEXTURE)
        return layer.texture[layer.activeUnit];
    return layer.modelview;
}

static void setIdentity(float m[16]) {
    memcpy(m, IDENTITY, sizeof IDENTITY);
}

static void beforeMatrixChange() {
    if (layer.matrixMode == GL_PROJECTION)
        flushBatchIfRead(READS_PROJECTION, 0);
    else if (layer.matrixMode == GL_TEXTURE)
        flushBatchIfRead(READS_TEXTURE_MATRIX, layer.activeUnit);
}

static void multiplyCurrent(const float m[16]) {
    beforeMatrixChange();
    float* current = layerCurrentMatrix();
    float product[16];
    layerMultiply(current, m, product);
    memcpy(current, product, sizeof product);
}

void layerMultiply(const float a[16], const float b[16], float out[16]) {
    for (int column = 0; column < 4; column++)
        for (int row = 0; row < 4; row++) {
            float sum = 0.0f;
            for (int k = 0; k < 4; k++)
                sum += a[k * 4 + row] * b[column * 4 + k];
            out[column * 4 + row] = sum;
        }
}

float* layerCurrentMatrix() {
    MatrixStack& stack = currentStack();
    return stack.matrices[stack.top];
}

extern "C" {

void glMatrixMode(GLenum mode) {
    layer.matrixMode = mode;
}

void glLoadIdentity() {
    beforeMatrixChange();
    setIdentity(layerCurrentMatrix());
}

void glLoadMatrixf(const GLfloat* m) {
    beforeMatrixChange();
    memcpy(layerCurrentMatrix(), m, 16 * sizeof(float));
}

void glLoadMatrixd(const GLdouble* m) {
    beforeMatrixChange();
    float* current = layerCurrentMatrix();
    for (int i = 0; i < 16; i++)
        current[i] = (float)m[i];
}

void glMultMatrixf(const GLfloat* m) {
    multiplyCurrent(m);
}

void glMultMatrixd(const GLdouble* m) {
    float f[16];
    for (int i = 0; i < 16; i++)
        f[i] = (float)m[i];
    multiplyCurrent(f);
}

void glPushMatrix() {
    MatrixStack& stack = currentStack();
    // GL reports a stack overflow and leaves the stack as it was.
    if (stack.top + 1 >= LAYER_STACK_DEPTH) {
        layerUnsupported("glPushMatrix beyond the stack depth");
        return;
    }
    memcpy(stack.matrices[stack.top + 1], stack.matrices[stack.top], 16 * sizeof(float));
    stack.top++;
}

void glPopMatrix() {
    MatrixStack& stack = currentStack();
    if (stack.top == 0) {
        layerUnsupported("glPopMatrix on an empty stack");
        return;
    }
    beforeMatrixChange();
    stack.top--;
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    float m[16];
    setIdentity(m);
    m[12] = x;
    m[13] = y;
    m[14] = z;
    multiplyCurrent(m);
}

void glScalef(GLfloat x, GLfloat y, GLfloat z) {
    float m[16];
    setIdentity(m);
    m[0] = x;
    m[5] = y;
    m[10] = z;
    multiplyCurrent(m);
}

// Rotation by angle degrees about (x, y, z), as the GL reference pages give it.
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    float length = sqrtf(x * x + y * y + z * z);
    if (length == 0.0f)
        return;
    x /= length;
    y /= length;
    z /= length;
    float radians = angle * (float)M_PI / 180.0f;
    float c = cosf(radians), s = sinf(radians), t = 1.0f - c;
    float m[16] = {x * x * t + c,
                   y * x * t + z * s,
                   x * z * t - y * s,
                   0,
                   x * y * t - z * s,
                   y * y * t + c,
                   y * z * t + x * s,
                   0,
                   x * z * t + y * s,
                   y * z * t - x * s,
                   z * z * t + c,
                   0,
                   0,
                   0,
                   0,
                   1};
    multiplyCurrent(m);
}

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    double radians = fovy / 2 * M_PI / 180;
    double deltaZ = zFar - zNear;
    double sine = sin(radians);
    // GLU leaves the matrix alone when the projection would be degenerate.
    if (deltaZ == 0 || sine == 0 || aspect == 0)
        return;
    double cotangent = cos(radians) / sine;
    float m[16] = {0};
    m[0] = (float)(cotangent / aspect);
    m[5] = (float)cotangent;
    m[10] = (float)(-(zFar + zNear) / deltaZ);
    m[11] = -1.0f;
    m[14] = (float)(-2 * zNear * zFar / deltaZ);
    multiplyCurrent(m);
}

void glGetDoublev(GLenum name, GLdouble* out) {
    const float* m = nullptr;
    if (name == GL_MODELVIEW_MATRIX)
        m = layer.modelview.matrices[layer.modelview.top];
    else if (name == GL_PROJECTION_MATRIX)
        m = layer.projection.matrices[layer.projection.top];
    else if (name == GL_TEXTURE_MATRIX)
        m = layer.texture[layer.activeUnit].matrices[layer.texture[layer.activeUnit].top];
    if (m == nullptr) {
        layerUnsupported("glGetDoublev of anything but a matrix");
        return;
    }
    for (int i = 0; i < 16; i++)
        out[i] = m[i];
}

} // extern "C"
