#include "render/shadowTarget.h"

#include <cstdio>

#include "render/frameSize.h"
#include "render/extensionEntryPoints.h"

GLuint shadowDepthTexture; // texture name
GLuint shadowFramebuffer;  // framebuffer name
int shadowMapWidth;        // texels
int shadowMapHeight;       // texels

void fitShadowTarget(int wantedWidth, int wantedHeight, int largest, int* width, int* height) {
    *width = wantedWidth < 1 ? 1 : wantedWidth;
    *height = wantedHeight < 1 ? 1 : wantedHeight;
    if (largest < 1 || (*width <= largest && *height <= largest))
        return;
    // The longer side becomes `largest`; the other follows, rounded down so neither is over.
    if (*width >= *height) {
        *height = (int)((long long)*height * largest / *width);
        *width = largest;
    } else {
        *width = (int)((long long)*width * largest / *height);
        *height = largest;
    }
    if (*width < 1)
        *width = 1;
    if (*height < 1)
        *height = 1;
}

void createShadowTarget() {
    const ExtensionEntryPoints& e = extensionEntryPoints;
    // A larger texture than the GL offers leaves the framebuffer incomplete: no shadow at all.
    GLint largestTexture = 0, largestRenderbuffer = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largestTexture);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE_EXT, &largestRenderbuffer);
    int largest = largestRenderbuffer > 0 && largestRenderbuffer < largestTexture
                      ? largestRenderbuffer
                      : largestTexture;
    int wantedWidth = SHADOW_MAP_SCALE * windowWidth,
        wantedHeight = SHADOW_MAP_SCALE * windowHeight;
    fitShadowTarget(wantedWidth, wantedHeight, largest, &shadowMapWidth, &shadowMapHeight);
    if (shadowMapWidth != wantedWidth || shadowMapHeight != wantedHeight)
        printf("Shadow map held to %d x %d texels (wanted %d x %d; the GL's largest side is %d)\n",
               shadowMapWidth, shadowMapHeight, wantedWidth, wantedHeight, largest);

    glGenTextures(1, &shadowDepthTexture);
    glBindTexture(GL_TEXTURE_2D, shadowDepthTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    // No comparison mode: the shader reads the stored depth and compares itself.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, shadowMapWidth, shadowMapHeight, 0,
                 GL_DEPTH_COMPONENT, GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);

    e.genFramebuffersEXT(1, &shadowFramebuffer);
    e.bindFramebufferEXT(GL_FRAMEBUFFER_EXT, shadowFramebuffer);
    glDrawBuffer(GL_NONE);
    glReadBuffer(GL_NONE);
    e.framebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_TEXTURE_2D,
                              shadowDepthTexture, 0);
    GLenum status = e.checkFramebufferStatusEXT(GL_FRAMEBUFFER_EXT);
    if (status != GL_FRAMEBUFFER_COMPLETE_EXT)
        printf("GL_FRAMEBUFFER_COMPLETE_EXT failed, CANNOT use FBO\n");
    e.bindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
}
