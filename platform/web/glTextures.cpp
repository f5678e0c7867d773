// Texture names, units and uploads. The bitmap loader hands out names from its own counter and
// binds them without glGenTextures, while WebGL binds only textures it created: a table maps the
// demo's names to WebGL's, creating one on first bind. Formats become WebGL 2's sized ones.
#include <GL/glu.h>
#include <vector>

#include "platform/web/glLayer.h"
#include "platform/web/mipmapChain.h"
#include "platform/web/webgl.h"

// ---- helpers ----
static GLuint webglTextureFor(GLuint name);
static GLint sizedFormat(GLint internalFormat, GLenum* type);
static bool nameInRange(GLuint name);

static bool nameInRange(GLuint name) {
    if (name < (GLuint)LAYER_TEXTURE_NAMES)
        return true;
    layerUnsupported("texture names beyond the layer's table");
    return false;
}

static GLuint webglTextureFor(GLuint name) {
    if (layer.webglTexture[name] == 0)
        emscripten_glGenTextures(1, &layer.webglTexture[name]);
    return layer.webglTexture[name];
}

// GL 1.1's component counts and the unsized depth format, as WebGL 2 wants them.
static GLint sizedFormat(GLint internalFormat, GLenum* type) {
    switch (internalFormat) {
    case 3:
    case GL_RGB:
        return GL_RGB8;
    case 4:
    case GL_RGBA:
        return GL_RGBA8;
    case GL_DEPTH_COMPONENT:
        *type = GL_UNSIGNED_INT;
        return GL_DEPTH_COMPONENT24;
    default:
        return internalFormat;
    }
}

extern "C" {

// Like a desktop driver: one past the largest name in use, whether generated or only bound.
void glGenTextures(GLsizei count, GLuint* names) {
    GLuint next = 1;
    for (GLuint n = 0; n < (GLuint)LAYER_TEXTURE_NAMES; n++)
        if (layer.webglTexture[n] != 0)
            next = n + 1;
    for (GLsizei i = 0; i < count; i++) {
        names[i] = next + i;
        if (nameInRange(names[i]))
            webglTextureFor(names[i]);
    }
}

void glActiveTexture(GLenum unit) {
    int index = (int)unit - GL_TEXTURE0;
    if (index < 0 || index >= LAYER_TEXTURE_UNITS) {
        layerUnsupported("texture units beyond 7");
        return;
    }
    layer.activeUnit = index;
    emscripten_glActiveTexture(unit);
}

void glBindTexture(GLenum target, GLuint name) {
    if (target != GL_TEXTURE_2D || !nameInRange(name))
        return;
    if (layer.boundTexture[layer.activeUnit] == name && layer.webglTexture[name] != 0)
        return;
    flushBatch();
    layer.boundTexture[layer.activeUnit] = name;
    emscripten_glBindTexture(GL_TEXTURE_2D, webglTextureFor(name));
}

void glTexParameteri(GLenum target, GLenum name, GLint value) {
    flushBatch();
    // GL_CLAMP mixes in a border colour WebGL does not have; edge texels are the nearest match.
    if (value == GL_CLAMP)
        value = GL_CLAMP_TO_EDGE;
    emscripten_glTexParameteri(target, name, value);
}

void glTexParameterf(GLenum target, GLenum name, GLfloat value) {
    glTexParameteri(target, name, (GLint)value);
}

// The layer always modulates, the only environment the demo sets.
void glTexEnvi(GLenum, GLenum name, GLint value) {
    if (name == GL_TEXTURE_ENV_MODE && value != GL_MODULATE)
        layerUnsupported("texture environments other than GL_MODULATE");
}

void glTexEnvf(GLenum target, GLenum name, GLfloat value) {
    glTexEnvi(target, name, (GLint)value);
}

void glPixelStorei(GLenum name, GLint value) {
    if (name == GL_UNPACK_ALIGNMENT)
        layer.unpackAlignment = value;
    else if (name == GL_PACK_ALIGNMENT)
        setLayerPackAlignment(value);
    emscripten_glPixelStorei(name, value);
}

void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                  GLint border, GLenum format, GLenum type, const void* pixels) {
    flushBatch();
    GLint sized = sizedFormat(internalFormat, &type);
    if (pixels != nullptr)
        layerCounts.bytesUploaded += (double)width * height * (format == GL_RGB ? 3 : 4);
    emscripten_glTexImage2D(target, level, sized, width, height, border, format, type, pixels);
}

// The demo's bitmaps are powers of two, which GLU would not rescale: level 0 and GLU's rounded
// box-filtered levels, made here (mipmapChain.cpp says why not WebGL's).
GLint gluBuild2DMipmaps(GLenum target, GLint internalFormat, GLsizei width, GLsizei height,
                        GLenum format, GLenum type, const void* data) {
    if ((width & (width - 1)) != 0 || (height & (height - 1)) != 0)
        layerUnsupported("gluBuild2DMipmaps of a size that is not a power of two");
    glTexImage2D(target, 0, internalFormat, width, height, 0, format, type, data);
    int channels = format == GL_RGBA ? 4 : format == GL_RGB ? 3 : 0;
    if (channels == 0 || type != GL_UNSIGNED_BYTE || width < 1 || height < 1) {
        emscripten_glGenerateMipmap(target);
        return 0;
    }
    std::vector<unsigned char> level, next;
    const unsigned char* above = (const unsigned char*)data;
    for (int l = 1; width > 1 || height > 1; l++) {
        halveImage(above, width, height, channels, next);
        width = width > 1 ? width / 2 : 1;
        height = height > 1 ? height / 2 : 1;
        glTexImage2D(target, l, internalFormat, width, height, 0, format, type, next.data());
        level.swap(next);
        above = level.data();
    }
    return 0;
}

} // extern "C"
