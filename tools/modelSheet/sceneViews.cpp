#include "tools/modelSheet/sceneViews.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <cstdio>

#include "math/angleTables.h"
#include "math/matrix.h"
#include "math/transforms.h"
#include "scene/addSceneObject.h"
#include "tools/modelSheet/sheetGl.h"

struct SceneRow {
    const char* model;
    const char* bitmap;
    float x, y, z;
    int angleX, angleY, angleZ;
};

// The demo's scene list.
static const SceneRow ROWS[] = {
    {"desert.3ds", "desert.bmp", -10, 20, -150, 2700, 0, 900},
    {"rock.3ds", "rock.bmp", -50, 20, -150, 2700, 0, 0},
    {"bigrock.3ds", "rock.bmp", 250, 20, -70, 2700, 0, 900},
    {"rechen.3ds", "wood.bmp", 100, 25, -60, 0, 450, 225},
    {"Girl.3ds", "Girl.bmp", 100, 18, -70, 0, 0, 0},
    {"Guy.3ds", "Guy.bmp", -60, 15, -70, 0, 0, 0},
    {"Held.3ds", "Wil1.bmp", 80, 25, 50, 0, 0, 0},
    {"cactus.3ds", "cactus1.bmp", -200, 18, -250, 0, 0, 0},
    {"cactus.3ds", "cactus1.bmp", 120, 18, -45, 0, 0, 0},
    {"wagenneu1.3ds", "planks04.bmp", -60, 15, -50, 2700, 0, 0},
    {"haus.3ds", "houseroof.bmp", 80, 50, -150, 2700, 0, 0},
    {"fence.3ds", "fence1.bmp", -150, 20, -150, 2700, 0, 900},
    {"fence.3ds", "fence1.bmp", -150, 20, -244, 2700, 0, 0},
    {"fence.3ds", "fence1.bmp", -60, 20, -244, 2700, 0, 0},
    {"fence.3ds", "fence1.bmp", 30, 20, -244, 2700, 0, 0},
    {"fence.3ds", "fence1.bmp", -150, 15, -150, 2700, 0, 2700},
    {"fence.3ds", "fence1.bmp", -150, 10, -60, 2700, 0, 2700},
    {"fence.3ds", "fence1.bmp", -150, 10, 30, 2700, 0, 0},
    {"fence.3ds", "fence1.bmp", -60, 10, 30, 2700, 0, 1800},
    {"kakadu.3ds", "kakadu2.bmp", 280, 50, -50, 0, 900, 0},
    {"lira.3ds", "lira.bmp", 60, 10, 45, 2700, 50, 1800},
};

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

// ---- helpers ----
static void drawScene();
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
    for (const SceneRow& row : ROWS) {
        std::string model = resDir + "/" + row.model, bitmap = resDir + "/" + row.bitmap;
        if (!addSceneObject(model.c_str(), bitmap.c_str(), row.x, row.y, row.z, row.angleX,
                            row.angleY, row.angleZ))
            fprintf(stderr, "modelSheet: %s not added\n", row.model);
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

    // The demo's start camera: eye (100, 30, -45) looking down -z, tilted 24 degrees down.
    beginView(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45, 640.0 / 480.0, 5, 10000);
    glMatrixMode(GL_MODELVIEW);
    matIdentity(cameraMatrix);
    cameraTranslate(-100, -30, 45);
    cameraRotate(240, 0, 0);
    glLoadMatrixf(cameraMatrix);
    glLightfv(GL_LIGHT0, GL_POSITION, sun);
    drawScene();
    ok = saveView(outDir + "/scene-start.png", width, height) && ok;

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
