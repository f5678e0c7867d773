#include "render/frameReadback.h"

#include <GL/glew.h>

void readBackBuffer(int width, int height, std::vector<unsigned char>& out) {
    out.resize((size_t)width * height * 3);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, out.data());
}
