#include "tools/modelSheet/sceneViews.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <cstdio>

#include "app/sceneInit.h"
#include "math/angleTables.h"
#include "math/matrix.h"
#include "math/transforms.h"
#include "scene/sceneStore.h"
#include "render/renderPasses.h"
#include "scene/addSceneObject.h"
#include "tools/modelSheet/sheetGl.h"

struct Viewpoint {
    const char* name;
    float eye[3], target[3];
};

static const Viewpoint VIEWPOINTS[] = {
    {"scene-pen", {-300, 110, 150}, {-40, 10, -110}},
    {"scene-perch", {200, 70, 20}, {275, 46, -55}},
    {"scene-north", {40, 90, -330}, {-20, 10, -40}},
    {"scene-figures", {20, 40, 10}, {60, 18, -60}},
};

// Camera cuts of the demo's script: a translation and turns from the identity, then a second
// move relative to that (zero where the shot has none).
struct ScriptShot {
    const char* name;
    float move[3];
    int turn[3];
    float thenMove[3];
    int thenTurn[3];
};

static const ScriptShot SCRIPT_SHOTS[] = {
    // The start camera: eye (100, 30, -45) looking down -z, tilted 24 degrees down.
    {"scene-start", {-100, -30, 45}, {240, 0, 0}, {0, 0, 0}, {0, 0, 0}},
    {"scene-shot-far-side", {-330, -50, -30}, {0, -550, 0}, {0, 0, 0}, {0, 0, 0}},
    {"scene-shot-above", {-100, -250, 100}, {900, 0, -27000}, {0, 0, 0}, {0, 0, 0}},
    {"scene-shot-wagon", {45, -30, -40}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
    {"scene-shot-behind", {-60, -30, 40}, {0, 1800, 0}, {0, 0, 0}, {0, 0, 0}},
    {"scene-shot-final", {-60, -30, 40}, {0, 1800, 0}, {-60, 10, 55}, {0, -900, 0}},
};

// ---- helpers ----
static void drawScene();
static void drawSandEdges();
// The desert's triangle edges in dark lines, just above its surface.
static void drawSandEdges() {
    glPushAttrib(GL_ENABLE_BIT | GL_POLYGON_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glColor3f(0.35f, 0.2f, 0.1f);
    glPushMatrix();
    glTranslatef(0, 1, 0);
    glMultMatrixf(sceneObjects[0].matrix);
    drawObject(sceneObjects[0]);
    glPopMatrix();
    glPopAttrib();
}

static bool saveView(const std::string& path, int width, int height);

static void drawScene() {
    for (int i = 0; i < objectCount; i++) {
        glPushMatrix();
        glMultMatrixf(sceneObjects[i].matrix);
        drawObject(sceneObjects[i]);
        glPopMatrix();
    }
}

static bool saveView(const std::string& path, int width, int height) {
    Pixels pixels;
    readView(0, 0, width, height, pixels);
    return writePng(pixels, path);
}

bool renderSceneViews(const std::string& resDir, const std::string& outDir, int width, int height) {
    buildAngleTables();
    objectCount = 0;
    for (const SceneListRow& row : sceneList) {
        // The list's paths start with "res/"; the files are read from resDir instead.
        std::string model = resDir + "/" + (row.modelPath + 4);
        std::string bitmap = resDir + "/" + (row.texturePath + 4);
        if (!addSceneObject(model.c_str(), bitmap.c_str(), row.x, row.y, row.z, row.angleX,
                            row.angleY, row.angleZ))
            fprintf(stderr, "modelSheet: %s not added\n", row.modelPath);
    }
    const float sun[] = {0.45f, 0.8f, 0.35f, 0};
    bool ok = true;

    // From straight above, the whole sand in view.
    beginView(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-350, 350, -262, 262, 1, 2000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(25, 600, -100, 25, 0, -100, 0, 0, -1);
    glLightfv(GL_LIGHT0, GL_POSITION, sun);
    drawScene();
    ok = saveView(outDir + "/scene-top.png", width, height) && ok;

    // Farther up, the rings around the fine grid, their edges drawn over the sand.
    beginView(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2700, 2700, -2025, 2025, 1, 2000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(25, 600, -100, 25, 0, -100, 0, 0, -1);
    glLightfv(GL_LIGHT0, GL_POSITION, sun);
    drawScene();
    drawSandEdges();
    ok = saveView(outDir + "/scene-top-rings.png", width, height) && ok;

    // The demo's own cameras in its 640 x 480 window, with the frame's projection.
    const int demoWidth = 640, demoHeight = 480;
    for (const ScriptShot& shot : SCRIPT_SHOTS) {
        beginView(0, 0, demoWidth, demoHeight);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(FIELD_OF_VIEW, frameAspect(demoWidth, demoHeight), NEAR_PLANE, FAR_PLANE);
        glMatrixMode(GL_MODELVIEW);
        matIdentity(cameraMatrix);
        cameraTranslate(shot.move[0], shot.move[1], shot.move[2]);
        cameraRotate(shot.turn[0], shot.turn[1], shot.turn[2]);
        cameraTranslate(shot.thenMove[0], shot.thenMove[1], shot.thenMove[2]);
        cameraRotate(shot.thenTurn[0], shot.thenTurn[1], shot.thenTurn[2]);
        glLoadMatrixf(cameraMatrix);
        glLightfv(GL_LIGHT0, GL_POSITION, sun);
        drawScene();
        ok = saveView(outDir + "/" + shot.name + ".png", demoWidth, demoHeight) && ok;
    }

    for (const Viewpoint& view : VIEWPOINTS) {
        beginView(0, 0, width, height);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(45, (double)width / height, 2, 10000);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(view.eye[0], view.eye[1], view.eye[2], view.target[0], view.target[1],
                  view.target[2], 0, 1, 0);
        glLightfv(GL_LIGHT0, GL_POSITION, sun);
        drawScene();
        ok = saveView(outDir + "/" + view.name + ".png", width, height) && ok;
    }
    return ok;
}
