#include "app/webLessonOverlay.h"

#include <GL/glew.h>
#include <cmath>

#include "app/window.h"
#include "math/transforms.h"
#include "render/drawObjects.h"
#include "render/extensionEntryPoints.h"
#include "render/passViews.h"
#include "render/renderPasses.h"

static const double PI = 3.14159265358979323846;

static GLuint imageTexture; // 0 until the first image

// ---- helpers ----
static void beginLines(const float colour[3]);
static void endLines();
static void identityMatrices();

static const float FRUSTUM_COLOUR[3] = {1.0f, 0.85f, 0.2f};
static const float FOOTPRINT_COLOUR[3] = {0.2f, 0.5f, 1.0f};

static void identityMatrices() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// Quads drawn as outlines: the layer draws a polygon's edges in GL_LINE mode.
static void beginLines(const float colour[3]) {
    extensionEntryPoints.useProgramObjectARB(0);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glColor4f(colour[0], colour[1], colour[2], 1.0f);
    glBegin(GL_QUADS);
}

static void endLines() {
    glEnd();
    glPolygonMode(GL_FRONT_AND_BACK, wireframeOff ? GL_FILL : GL_LINE);
    glEnable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
}

void showImage(const std::vector<unsigned char>& rgb) {
    if ((int)rgb.size() != windowWidth * windowHeight * 3)
        return;
    extensionEntryPoints.activeTextureARB(GL_TEXTURE0);
    if (!imageTexture) {
        glGenTextures(1, &imageTexture);
        glBindTexture(GL_TEXTURE_2D, imageTexture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    }
    glBindTexture(GL_TEXTURE_2D, imageTexture);
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, windowWidth, windowHeight, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 rgb.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    extensionEntryPoints.useProgramObjectARB(0);
    identityMatrices();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    // The depth pass leaves texturing off; the lit pass turns it on again for each object.
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    drawUnitQuad();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, 0);
}

void drawLightFrustum() {
    double light[16], inverse[16];
    for (int i = 0; i < 16; i++)
        light[i] = lightMatrix[i];
    if (!invertMatrix(light, inverse))
        return;
    // The corners at the near plane and at LIGHT_FRUSTUM_DEPTH, in world coordinates.
    double t = std::tan(FIELD_OF_VIEW * PI / 360.0);
    double aspect = frameAspect(windowWidth, windowHeight);
    float corners[2][4][3];
    const int signs[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (int end = 0; end < 2; end++) {
        double d = end == 0 ? NEAR_PLANE : LIGHT_FRUSTUM_DEPTH;
        for (int k = 0; k < 4; k++) {
            double eye[3] = {signs[k][0] * d * t * aspect, signs[k][1] * d * t, -d};
            for (int row = 0; row < 3; row++)
                corners[end][k][row] = (float)(inverse[row] * eye[0] + inverse[4 + row] * eye[1] +
                                               inverse[8 + row] * eye[2] + inverse[12 + row]);
        }
    }
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(FIELD_OF_VIEW, frameAspect(windowWidth, windowHeight), NEAR_PLANE, FAR_PLANE);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(cameraMatrix);
    beginLines(FRUSTUM_COLOUR);
    for (int k = 0; k < 4; k++) {
        const float* a = corners[0][k];
        const float* b = corners[0][(k + 1) % 4];
        const float* c = corners[1][(k + 1) % 4];
        const float* d = corners[1][k];
        glVertex3f(a[0], a[1], a[2]);
        glVertex3f(b[0], b[1], b[2]);
        glVertex3f(c[0], c[1], c[2]);
        glVertex3f(d[0], d[1], d[2]);
    }
    endLines();
}

void drawCameraFootprint() {
    double points[5][2];
    if (!cameraFootprint(points))
        return;
    identityMatrices();
    glDisable(GL_DEPTH_TEST);
    beginLines(FOOTPRINT_COLOUR);
    // (eye, corner, next corner, eye): each quad's outline is two rays and a far edge.
    for (int k = 1; k <= 4; k++) {
        const double* next = points[k % 4 + 1];
        glVertex2f((float)(points[0][0] / windowWidth * 2 - 1),
                   (float)(points[0][1] / windowHeight * 2 - 1));
        glVertex2f((float)(points[k][0] / windowWidth * 2 - 1),
                   (float)(points[k][1] / windowHeight * 2 - 1));
        glVertex2f((float)(next[0] / windowWidth * 2 - 1), (float)(next[1] / windowHeight * 2 - 1));
        glVertex2f((float)(points[0][0] / windowWidth * 2 - 1),
                   (float)(points[0][1] / windowHeight * 2 - 1));
    }
    endLines();
    glEnable(GL_DEPTH_TEST);
}
