#include "render/drawObjects.h"

#include <GL/glew.h>

#include "scene/sceneState.h"
#include "scene/sceneStore.h"

// ---- helpers ----
// One immediate-mode block per object; texture coordinates and textures only for the lit pass.
static void drawObjectTable(bool lit);
static void selectObjectTexture(const SceneObject& object);

unsigned int whiteTextureName = 0; // GL texture name; 0 until createWhiteTexture has run

// The shader samples unit 0 for every object. One white texel leaves an object without a bitmap
// in its lit material colour; name 0 would paint it with the first bitmap (or black without one).
void createWhiteTexture() {
    const unsigned char white[4] = {255, 255, 255, 255};
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGenTextures(1, &whiteTextureName);
    glBindTexture(GL_TEXTURE_2D, whiteTextureName);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
    // Initialisation's later steps and the first frame find the binding as they did before.
    glBindTexture(GL_TEXTURE_2D, (GLuint)bound);
}

static void selectObjectTexture(const SceneObject& object) {
    if (object.textureId == -1) {
        glDisable(GL_TEXTURE_2D);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, whiteTextureName);
        return;
    }
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, (GLuint)object.textureId);
    glEnable(GL_TEXTURE_2D);
}

static void drawObjectTable(bool lit) {
    for (int i = 0; i < objectCount; i++) {
        const SceneObject& object = sceneObjects[i];
        glPushMatrix();
        glMultMatrixf(object.matrix);
        if (lit)
            selectObjectTexture(object);
        else
            glDisable(GL_TEXTURE_2D);
        glBegin(GL_TRIANGLES);
        for (int p = 0; p < object.polygonCount; p++) {
            const int corners[3] = {object.polygons[p].a, object.polygons[p].b,
                                    object.polygons[p].c};
            for (int k : corners) {
                glNormal3f(object.normals[k].x, object.normals[k].y, object.normals[k].z);
                if (lit)
                    glTexCoord2f(object.texCoords[k].u, object.texCoords[k].v);
                glVertex3f(object.vertices[k].x, object.vertices[k].y, object.vertices[k].z);
            }
        }
        glEnd();
        glPopMatrix();
    }
}

void drawObjectsDepth() {
    drawObjectTable(false);
}

void drawObjectsLit() {
    drawObjectTable(true);
}

void drawTexturedQuad() {
    // The name is held as a float; truncation gives it back.
    glBindTexture(GL_TEXTURE_2D, (GLuint)particleMaskTexture);
    drawUnitQuad();
}

void drawUnitQuad() {
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(-1.0f, -1.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(1.0f, -1.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(1.0f, 1.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
}
