#include "render/renderPasses.h"

#include <GL/glew.h>
#include <cmath>

#include "math/transforms.h"
#include "render/drawObjects.h"
#include "render/extensionEntryPoints.h"
#include "render/frameSize.h"
#include "render/shaderLoading.h"
#include "render/shadowTarget.h"

// Maps clip coordinates -1..1 to texture coordinates and depth 0..1 (column-major).
static const double bias[16] = {0.5, 0.0, 0.0, 0.0, 0.0, 0.5, 0.0, 0.0,
                                0.0, 0.0, 0.5, 0.0, 0.5, 0.5, 0.5, 1.0};

// World up as a direction, for GL_LIGHT0's position.
static const float SKY_UP[4] = {0, 1, 0, 0};

// ---- helpers ----
static void loadFramePerspective();
static int clampToTexture(int side, int textureSide);
static void setShadowMapSize();

double frameAspect(int width, int height) {
    // The integer quotient is intended; only the quotients that would break the projection
    // (division by zero, aspect 0) are replaced.
    if (height <= 0)
        return 1.0;
    int quotient = width / height;
    return quotient < 1 ? 1.0 : (double)quotient;
}

// The texture keeps its creation size while the window changes: drawing past it is lost.
// Before the target exists (size 0) there is nothing to clamp to.
static int clampToTexture(int side, int textureSide) {
    return textureSide > 0 && side > textureSide ? textureSide : side;
}

// The fragment shader's texel follows the target's real size. Locations are looked up again
// only when another program stands in as the lit pass's.
static void setShadowMapSize() {
    static GLhandleARB locatedFor;
    static int widthUniform = -1, heightUniform = -1;
    const ExtensionEntryPoints& e = extensionEntryPoints;
    if (locatedFor != shadowProgram || locatedFor == 0) {
        locatedFor = shadowProgram;
        widthUniform =
            shadowProgram ? e.getUniformLocationARB(shadowProgram, "ShadowMapWidth") : -1;
        heightUniform =
            shadowProgram ? e.getUniformLocationARB(shadowProgram, "ShadowMapHeight") : -1;
    }
    if (widthUniform >= 0)
        e.uniform1iARB(widthUniform, shadowMapWidth);
    if (heightUniform >= 0)
        e.uniform1iARB(heightUniform, shadowMapHeight);
}

static void loadFramePerspective() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(FIELD_OF_VIEW, frameAspect(windowWidth, windowHeight), NEAR_PLANE, FAR_PLANE);
}

void renderDepthPass() {
    const ExtensionEntryPoints& e = extensionEntryPoints;
    e.bindFramebufferEXT(GL_FRAMEBUFFER_EXT, shadowFramebuffer);
    e.useProgramObjectARB(0);
    glViewport(0, 0, clampToTexture(SHADOW_MAP_SCALE * windowWidth, shadowMapWidth),
               clampToTexture(SHADOW_MAP_SCALE * windowHeight, shadowMapHeight));
    glClear(GL_DEPTH_BUFFER_BIT);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    loadFramePerspective();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glLoadMatrixf(lightMatrix);
    glCullFace(GL_BACK);
    drawObjectsDepth();
    loadShadowTextureMatrix();
}

void renderLitPass() {
    const ExtensionEntryPoints& e = extensionEntryPoints;
    e.bindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glViewport(0, 0, windowWidth, windowHeight);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    e.useProgramObjectARB(shadowProgram);
    e.uniform1iARB(shadowMapUniform, SHADOW_MAP_UNIT);
    setShadowMapSize();
    e.activeTextureARB(GL_TEXTURE0 + SHADOW_MAP_UNIT);
    glBindTexture(GL_TEXTURE_2D, shadowDepthTexture);
    // Still GL_MODELVIEW, and the depth pass's projection stays: both passes share it.
    glLoadMatrixf(cameraMatrix);
    // The sky's direction for the shader's grazing light, carried in eye coordinates by the
    // position of GL_LIGHT0, which stays disabled.
    glLightfv(GL_LIGHT0, GL_POSITION, SKY_UP);
    glCullFace(GL_BACK);
    drawObjectsLit();
    e.useProgramObjectARB(0);
}

void loadShadowTextureMatrix() {
    double projection[16], view[16], camera[16], inverseCamera[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, view);
    // The light's view fills the drawn region, which is smaller than the texture after the
    // window shrinks: the lookup must read that region only.
    GLint drawn[4];
    glGetIntegerv(GL_VIEWPORT, drawn);
    double region[16] = {0};
    region[0] = shadowMapWidth > 0 ? (double)drawn[2] / shadowMapWidth : 1.0;
    region[5] = shadowMapHeight > 0 ? (double)drawn[3] / shadowMapHeight : 1.0;
    region[10] = 1.0;
    region[15] = 1.0;
    for (int i = 0; i < 16; i++)
        camera[i] = cameraMatrix[i];
    // A singular camera cannot be undone; the identity keeps the shader's input finite.
    if (!invertMatrix(camera, inverseCamera)) {
        for (int i = 0; i < 16; i++)
            inverseCamera[i] = (i % 5 == 0) ? 1.0 : 0.0;
    }
    extensionEntryPoints.activeTextureARB(GL_TEXTURE0 + SHADOW_MAP_UNIT);
    glMatrixMode(GL_TEXTURE);
    glLoadMatrixd(region);
    glMultMatrixd(bias);
    glMultMatrixd(projection);
    glMultMatrixd(view);
    glMultMatrixd(inverseCamera);
    glMatrixMode(GL_MODELVIEW);
}

bool invertMatrix(const double m[16], double out[16]) {
    double inv[16];
    inv[0] = m[5] * m[10] * m[15] - m[5] * m[11] * m[14] - m[9] * m[6] * m[15] +
             m[9] * m[7] * m[14] + m[13] * m[6] * m[11] - m[13] * m[7] * m[10];
    inv[4] = -m[4] * m[10] * m[15] + m[4] * m[11] * m[14] + m[8] * m[6] * m[15] -
             m[8] * m[7] * m[14] - m[12] * m[6] * m[11] + m[12] * m[7] * m[10];
    inv[8] = m[4] * m[9] * m[15] - m[4] * m[11] * m[13] - m[8] * m[5] * m[15] +
             m[8] * m[7] * m[13] + m[12] * m[5] * m[11] - m[12] * m[7] * m[9];
    inv[12] = -m[4] * m[9] * m[14] + m[4] * m[10] * m[13] + m[8] * m[5] * m[14] -
              m[8] * m[6] * m[13] - m[12] * m[5] * m[10] + m[12] * m[6] * m[9];
    inv[1] = -m[1] * m[10] * m[15] + m[1] * m[11] * m[14] + m[9] * m[2] * m[15] -
             m[9] * m[3] * m[14] - m[13] * m[2] * m[11] + m[13] * m[3] * m[10];
    inv[5] = m[0] * m[10] * m[15] - m[0] * m[11] * m[14] - m[8] * m[2] * m[15] +
             m[8] * m[3] * m[14] + m[12] * m[2] * m[11] - m[12] * m[3] * m[10];
    inv[9] = -m[0] * m[9] * m[15] + m[0] * m[11] * m[13] + m[8] * m[1] * m[15] -
             m[8] * m[3] * m[13] - m[12] * m[1] * m[11] + m[12] * m[3] * m[9];
    inv[13] = m[0] * m[9] * m[14] - m[0] * m[10] * m[13] - m[8] * m[1] * m[14] +
              m[8] * m[2] * m[13] + m[12] * m[1] * m[10] - m[12] * m[2] * m[9];
    inv[2] = m[1] * m[6] * m[15] - m[1] * m[7] * m[14] - m[5] * m[2] * m[15] + m[5] * m[3] * m[14] +
             m[13] * m[2] * m[7] - m[13] * m[3] * m[6];
    inv[6] = -m[0] * m[6] * m[15] + m[0] * m[7] * m[14] + m[4] * m[2] * m[15] -
             m[4] * m[3] * m[14] - m[12] * m[2] * m[7] + m[12] * m[3] * m[6];
    inv[10] = m[0] * m[5] * m[15] - m[0] * m[7] * m[13] - m[4] * m[1] * m[15] +
              m[4] * m[3] * m[13] + m[12] * m[1] * m[7] - m[12] * m[3] * m[5];
    inv[14] = -m[0] * m[5] * m[14] + m[0] * m[6] * m[13] + m[4] * m[1] * m[14] -
              m[4] * m[2] * m[13] - m[12] * m[1] * m[6] + m[12] * m[2] * m[5];
    inv[3] = -m[1] * m[6] * m[11] + m[1] * m[7] * m[10] + m[5] * m[2] * m[11] -
             m[5] * m[3] * m[10] - m[9] * m[2] * m[7] + m[9] * m[3] * m[6];
    inv[7] = m[0] * m[6] * m[11] - m[0] * m[7] * m[10] - m[4] * m[2] * m[11] + m[4] * m[3] * m[10] +
             m[8] * m[2] * m[7] - m[8] * m[3] * m[6];
    inv[11] = -m[0] * m[5] * m[11] + m[0] * m[7] * m[9] + m[4] * m[1] * m[11] - m[4] * m[3] * m[9] -
              m[8] * m[1] * m[7] + m[8] * m[3] * m[5];
    inv[15] = m[0] * m[5] * m[10] - m[0] * m[6] * m[9] - m[4] * m[1] * m[10] + m[4] * m[2] * m[9] +
              m[8] * m[1] * m[6] - m[8] * m[2] * m[5];
    double det = m[0] * inv[0] + m[1] * inv[4] + m[2] * inv[8] + m[3] * inv[12];
    if (std::fabs(det) < 1e-12)
        return false;
    for (int i = 0; i < 16; i++)
        out[i] = inv[i] / det;
    return true;
}
