#include "particles/particles.h"

#include <GL/glew.h>

#include "scene/sceneState.h"

// ---- helpers ----
static void drawParticleSquare(const Particle& p, GLuint texture);

static void drawParticleSquare(const Particle& p, GLuint texture) {
    glPushMatrix();
    glTranslatef((float)p.x, (float)p.y, (float)p.z);
    glScalef((float)p.size, (float)p.size, (float)p.size);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_COLOR_MATERIAL);
    glColor4f((float)p.red, (float)p.green, (float)p.blue, (float)p.alpha);
    glBindTexture(GL_TEXTURE_2D, texture);
    // Undo the camera's accumulated turns so the square faces the eye; z is in hundredths on
    // purpose, as the script's z values expect.
    glRotatef(-billboardAngles[0] / 10, 1, 0, 0);
    glRotatef(-billboardAngles[1] / 10, 0, 1, 0);
    glRotatef(-billboardAngles[2] / 100, 0, 0, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex3f(-1, -1, 0);
    glTexCoord2f(1, 0);
    glVertex3f(1, -1, 0);
    glTexCoord2f(1, 1);
    glVertex3f(1, 1, 0);
    glTexCoord2f(0, 1);
    glVertex3f(-1, 1, 0);
    glEnd();
    glEnable(GL_DEPTH_TEST);
    glPopMatrix();
}

void drawParticles() {
    glDisable(GL_LIGHT1);
    glDisable(GL_LIGHTING);
    glDepthMask(GL_FALSE);
    // The name is kept as a float by scene initialisation; truncation turns it back.
    GLuint texture = (GLuint)particleTexture;
    for (int i = 1; i < PARTICLE_COUNT; i++)
        drawParticleSquare(particles[i], texture);
    glDisable(GL_COLOR_MATERIAL);
    glDepthMask(GL_TRUE);
    glEnable(GL_LIGHT1);
    glEnable(GL_LIGHTING);
    // Colour material rewrote the material on every glColor: put the scene's back.
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, lightAmbient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, lightDiffuse);
    // Blending itself stays enabled.
    glBlendFunc(GL_ONE, GL_ZERO);
}
