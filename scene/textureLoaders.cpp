#include "scene/textureLoaders.h"

#include <GL/glew.h>
#include <GL/glu.h>
#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"
#include "scene/fileBytes.h"
#include "scene/imageDecode.h"

// ---- helpers ----
static void warnLine(const char* reason, const char* path);

int bitmapTextureCounter = -1; // last bitmap name handed out; names come from here, not GL

int loadBitmapTexture(const char* path) {
    // Counted before anything can fail, so a failed load still uses up a name.
    bitmapTextureCounter++;
    if (!path)
        return -1;
    unsigned char* data = nullptr;
    size_t size = 0;
    if (!readFileBytes(path, &data, &size)) {
        showErrorBox("Orbitex", "Texture not found", path);
        return -1;
    }
    DecodedImage image;
    const char* reason = nullptr;
    bool decoded = decodeBitmap(data, size, 0, &image, &reason);
    free(data);
    // Refused, the bitmap is as unusable as a missing one and is reported the same way; one that
    // loads with filled-in pixels gets a console line only, so start-up never waits on it.
    if (!decoded) {
        showErrorBox("Orbitex", reason, path);
        return -1;
    }
    if (reason)
        warnLine(reason, path);

    // The first bitmap gets name 0 on purpose: all bitmaps load before any glGenTextures call.
    glBindTexture(GL_TEXTURE_2D, bitmapTextureCounter);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    // A side above the driver's limit makes this upload fail; the mipmap builder below scales
    // the image down to fit and replaces level 0.
    glTexImage2D(GL_TEXTURE_2D, 0, 4, image.width, image.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 image.pixels);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 4, image.width, image.height, GL_RGBA, GL_UNSIGNED_BYTE,
                      image.pixels);
    freeDecodedImage(&image);
    return bitmapTextureCounter;
}

unsigned int loadRawTexture(const char* path, int width, int height) {
    if (!path)
        return 0;
    unsigned char* data = nullptr;
    size_t size = 0;
    if (!readFileBytes(path, &data, &size))
        return 0;
    DecodedImage image;
    const char* reason = nullptr;
    bool decoded = decodeRaw(data, size, width, height, 0, &image, &reason);
    free(data);
    // A missing raw image is silent; a refused or filled-in one is worth a console line.
    if (reason)
        warnLine(reason, path);
    if (!decoded)
        return 0;

    GLuint texturepar = 0;
    glGenTextures(1, &texturepar);
    glBindTexture(GL_TEXTURE_2D, texturepar);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // RGB rows are packed; GL's default 4-byte row alignment would shear odd widths.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, image.width, image.height, GL_RGB, GL_UNSIGNED_BYTE,
                      image.pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    freeDecodedImage(&image);
    return texturepar;
}

// One line on standard error on every platform, like the 3DS reader's warnings.
static void warnLine(const char* reason, const char* path) {
    fprintf(stderr, "Orbitex: %s (%s)\n", reason, path);
    fflush(stderr);
}
