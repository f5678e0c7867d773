#include "render/shadowTarget.h"

#include <cstdio>

#include "app/window.h"
#include "render/extensionEntryPoints.h"

GLuint shadowDepthTexture; // texture name
GLuint shadowFramebuffer;  // framebuffer name
int shadowMapWidth;        // texels
int shadowMapHeight;       // texels

void createShadowTarget() {
    const ExtensionEntryPoints& e = extensionEntryPoints;
    shadowMapWidth = SHADOW_MAP_SCALE * windowWidth;
    shadowMapHeight = SHADOW_MAP_SCALE * windowHeight;

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
