// Reading back what was drawn: the batch is drawn first, so a read sees every call before it.
// WebGL reads colour only as RGBA bytes; the RGB the demo's tools ask for is packed from that.
#include <cstring>
#include <vector>

#include "platform/web/glLayer.h"
#include "platform/web/webgl.h"

static int packAlignment = 4; // GL's initial GL_PACK_ALIGNMENT

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

// A one-pixel read of the canvas waits for every command before it, as glFinish does on the
// desktop; the shadow target has no colour to read.
void glFinish() {
    unsigned char pixel[4];
    flushBatch();
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, 0);
    emscripten_glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, layer.framebuffer);
}

} // extern "C"

// GL_PACK_ALIGNMENT as glPixelStorei sets it.
void setLayerPackAlignment(int alignment) {
    packAlignment = alignment;
}
