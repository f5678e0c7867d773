#include "render/drawObjects.h"

#include <GL/glew.h>

#include "app/sceneInit.h"
#include "scene/sceneStore.h"

// ---- helpers ----
// One immediate-mode block per object; texture coordinates and textures only for the lit pass.
static void drawObjectTable(bool lit);
static void selectObjectTexture(const SceneObject& object);

static void selectObjectTexture(const SceneObject& object) {
    if (object.textureId == -1) {
        glDisable(GL_TEXTURE_2D);
        // The shader samples unit 0 regardless; name 0 holds the first bitmap, so an untextured
        // object is modulated by it (intended).
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, 0);
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
