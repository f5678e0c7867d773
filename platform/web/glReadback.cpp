// Reading back what was drawn: the batch is drawn first, so a read sees every call before it.
// WebGL reads colour only as RGBA bytes; the RGB the demo's tools ask for is packed from that.
#include <cstring>
#include <vector>

#include "platform/web/glLayer.h"
#include "platform/web/webgl.h"

static int packAlignment = 4; // GL's initial GL_PACK_ALIGNMENT
static GLuint waitProgram, waitFramebuffer, waitArray;
static const int WAIT_UNIT = LAYER_TEXTURE_UNITS - 1;

static const char* const WAIT_VERTEX = "#version 300 es\n"
                                       "void main() {\n"
                                       "    gl_Position = vec4(0.0, 0.0, 0.0, 1.0);\n"
                                       "    gl_PointSize = 1.0;\n}\n";
static const char* const WAIT_FRAGMENT = "#version 300 es\nprecision highp float;\n"
                                         "uniform highp sampler2D depth;\nout vec4 color;\n"
                                         "void main() {\n"
                                         "    color = vec4(texture(depth, vec2(0.5)).r);\n}\n";

// ---- helpers ----
static void makeWaitTarget();
static void waitForDepthTexture(GLuint texture);

// A program that samples a depth texture into one texel of a texture of its own.
static void makeWaitTarget() {
    // Not one of the layer's programs: it keeps no uniforms of the demo's state.
    waitProgram = emscripten_glCreateProgram();
    emscripten_glAttachShader(waitProgram, compileLayerShader(GL_VERTEX_SHADER, WAIT_VERTEX));
    emscripten_glAttachShader(waitProgram, compileLayerShader(GL_FRAGMENT_SHADER, WAIT_FRAGMENT));
    emscripten_glLinkProgram(waitProgram);
    emscripten_glUseProgram(waitProgram);
    emscripten_glUniform1i(emscripten_glGetUniformLocation(waitProgram, "depth"), WAIT_UNIT);
    GLuint texel;
    emscripten_glGenTextures(1, &texel);
    emscripten_glActiveTexture(GL_TEXTURE0 + WAIT_UNIT);
    emscripten_glBindTexture(GL_TEXTURE_2D, texel);
    emscripten_glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                            nullptr);
    emscripten_glGenFramebuffers(1, &waitFramebuffer);
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, waitFramebuffer);
    emscripten_glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texel,
                                      0);
    emscripten_glGenVertexArrays(1, &waitArray);
}

void forgetWaitTarget() {
    waitProgram = waitFramebuffer = waitArray = 0;
}

// Draws and reads the texel, then puts back the state the layer keeps for WebGL.
static void waitForDepthTexture(GLuint texture) {
    if (waitProgram == 0)
        makeWaitTarget();
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, waitFramebuffer);
    emscripten_glViewport(0, 0, 1, 1);
    emscripten_glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    emscripten_glUseProgram(waitProgram);
    emscripten_glBindVertexArray(waitArray);
    emscripten_glActiveTexture(GL_TEXTURE0 + WAIT_UNIT);
    emscripten_glBindTexture(GL_TEXTURE_2D, texture);
    emscripten_glDrawArrays(GL_POINTS, 0, 1);
    unsigned char pixel[4];
    emscripten_glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    GLuint name = layer.boundTexture[WAIT_UNIT];
    emscripten_glBindTexture(GL_TEXTURE_2D,
                             name < (GLuint)LAYER_TEXTURE_NAMES ? layer.webglTexture[name] : 0);
    emscripten_glActiveTexture(GL_TEXTURE0 + layer.activeUnit);
    emscripten_glUseProgram(layerActiveProgram());
    int m = layer.colorMask;
    emscripten_glColorMask(m & 1, (m >> 1) & 1, (m >> 2) & 1, (m >> 3) & 1);
    emscripten_glViewport(layer.viewport[0], layer.viewport[1], layer.viewport[2],
                          layer.viewport[3]);
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, layer.framebuffer);
}

extern "C" {

// WebGL 2 names the canvas's colour buffer GL_BACK, and the shadow target's none GL_NONE, as GL.
void glReadBuffer(GLenum mode) {
    emscripten_glReadBuffer(mode);
}

void glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                  void* pixels) {
    flushBatch();
    if (type != GL_UNSIGNED_BYTE || (format != GL_RGB && format != GL_RGBA)) {
        layerUnsupported("glReadPixels of depth or of other than bytes");
        return;
    }
    if (format == GL_RGBA) {
        emscripten_glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
        return;
    }
    std::vector<unsigned char> rgba((size_t)width * height * 4);
    emscripten_glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    size_t rowBytes = (size_t)width * 3;
    size_t stride = (rowBytes + packAlignment - 1) / packAlignment * packAlignment;
    unsigned char* out = (unsigned char*)pixels;
    for (int row = 0; row < height; row++)
        for (int col = 0; col < width; col++)
            memcpy(out + row * stride + col * 3, &rgba[((size_t)row * width + col) * 4], 3);
}

// A one-pixel read waits for the commands that drew it, as glFinish does for all on the desktop.
// The canvas's pixel depends on nothing drawn into the shadow target, which has no colour to
// read: while it is bound, a pixel that samples its depth texture is drawn and read instead.
void glFinish() {
    unsigned char pixel[4];
    flushBatch();
    if (layer.framebuffer != 0 && layer.framebuffer == layer.depthTarget &&
        layer.depthTexture != 0) {
        waitForDepthTexture(layer.depthTexture);
        return;
    }
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, 0);
    emscripten_glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, layer.framebuffer);
}

} // extern "C"

// GL_PACK_ALIGNMENT as glPixelStorei sets it.
void setLayerPackAlignment(int alignment) {
    packAlignment = alignment;
}
