#include "app/sceneInit.h"

#include <GL/glew.h>
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#include <cstring>
#include <ctime>

#include "app/window.h"
#include "demo/choreography.h"
#include "demo/clock.h"
#include "math/angleTables.h"
#include "math/matrix.h"
#include "math/transforms.h"
#include "scene/sceneStore.h"
#include "particles/particles.h"
#include "render/drawObjects.h"
#include "render/extensionEntryPoints.h"
#include "render/shaderLoading.h"
#include "render/shadowTarget.h"
#include "scene/addSceneObject.h"
#include "scene/groundHeight.h"
#include "scene/textureLoaders.h"

static int rowObjects[SCENE_LIST_ROWS]; // each row's table slot, -1 where its model did not load

// The page's smaller table still takes every row.
static_assert(SCENE_LIST_ROWS <= MAX_OBJECTS, "the object table is smaller than the scene list");
const SceneListRow sceneList[SCENE_LIST_ROWS] = {
    {DESERT_MODEL, "res/desert.bmp", -10, 20, -150, 2700, 0, 900},
    {"res/rock.3ds", "res/rock.bmp", -50, 20, -150, 2700, 0, 0},
    {"res/bigrock.3ds", "res/rock.bmp", 250, 20, -70, 2700, 0, 900},
    {"res/rechen.3ds", "res/wood.bmp", 100, 25, -60, 0, 450, 225},
    {"res/Girl.3ds", "res/Girl.bmp", 100, 18, -70, 0, 0, 0},
    {"res/Guy.3ds", "res/Guy.bmp", -60, 15, -70, 0, 0, 0},
    {"res/Held.3ds", "res/Wil1.bmp", 80, 25, 50, 0, 0, 0},
    {"res/cactus.3ds", "res/cactus1.bmp", -200, 18, -250, 0, 0, 0},
    {"res/cactus.3ds", "res/cactus1.bmp", 120, 18, -45, 0, 0, 0},
    {"res/wagenneu1.3ds", "res/planks04.bmp", -60, 15, -50, 2700, 0, 0},
    {"res/haus.3ds", "res/houseroof.bmp", 80, 50, -150, 2700, 0, 0},
    {"res/fence.3ds", "res/fence1.bmp", -150, 20, -150, 2700, 0, 900},
    {"res/fence.3ds", "res/fence1.bmp", -150, 20, -244, 2700, 0, 0},
    {"res/fence.3ds", "res/fence1.bmp", -60, 20, -244, 2700, 0, 0},
    {"res/fence.3ds", "res/fence1.bmp", 30, 20, -244, 2700, 0, 0},
    {"res/fence.3ds", "res/fence1.bmp", -150, 15, -150, 2700, 0, 2700},
    {"res/fence.3ds", "res/fence1.bmp", -150, 10, -60, 2700, 0, 2700},
    {"res/fence.3ds", "res/fence1.bmp", -150, 10, 30, 2700, 0, 0},
    {"res/fence.3ds", "res/fence1.bmp", -60, 10, 30, 2700, 0, 1800},
    {"res/kakadu.3ds", "res/kakadu2.bmp", 280, 50, -50, 0, 900, 0},
    {"res/lira.3ds", "res/lira.bmp", 60, 10, 45, 2700, 50, 1800},
};

// ---- helpers ----
static void setFixedFunctionState();
static void placeCameraAndLight();
static void loadSceneList();

// Steps 5 to 14: first viewport and projection, the light, the material, shading, depth.
static void setFixedFunctionState() {
    glViewport(0, 0, windowWidth, windowHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, (double)windowWidth / (double)windowHeight, 5.0, 10000.0);
    // Given once under an identity modelview: the light stays fixed in eye coordinates.
    glLightfv(GL_LIGHT1, GL_AMBIENT, lightAmbient);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, lightDiffuse);
    glLightfv(GL_LIGHT1, GL_SPECULAR, lightSpecular);
    glLightfv(GL_LIGHT1, GL_POSITION, lightPosition);
    glEnable(GL_LIGHT1);
    glEnable(GL_LIGHTING);
    glMaterialfv(GL_FRONT, GL_AMBIENT, materialAmbient);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, materialDiffuse);
    glMaterialfv(GL_FRONT, GL_SPECULAR, materialSpecular);
    glMaterialfv(GL_FRONT, GL_SHININESS, materialShininess);
    glShadeModel(GL_SMOOTH);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_TEXTURE_2D);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_DEPTH_TEST);
}

// Steps 15 to 20.
static void placeCameraAndLight() {
    matIdentity(cameraMatrix);
    matIdentity(lightMatrix);
    // The light sits seven times higher than its fixed-function position.
    lightTranslate(-lightPosition[0], (float)(-7.0 * lightPosition[1]), -lightPosition[2]);
    lightRotate(800, 0, -1800);
    cameraTranslate(-100.0f, -30.0f, 45.0f);
    cameraRotate(240, 0, 0);
    // 150, not the camera's 240: the particles' facing starts from this value (intended).
    billboardAngles[0] = 150.0f;
    billboardAngles[1] = 0.0f;
    billboardAngles[2] = 0.0f;
}

// Step 21: a model that cannot be read takes no slot, so later rows move down one index; the
// ground is the desert's slot, found by its file, or none.
static void loadSceneList() {
    for (int i = 0; i < SCENE_LIST_ROWS; i++) {
        const SceneListRow& row = sceneList[i];
        rowObjects[i] = addSceneObject(row.modelPath, row.texturePath, row.x, row.y, row.z,
                                       row.angleX, row.angleY, row.angleZ)
                            ? objectCount - 1
                            : -1;
    }
    groundObject = sceneObjectOf(DESERT_MODEL);
}

int sceneObjectOf(const char* modelPath) {
    for (int i = 0; i < SCENE_LIST_ROWS; i++)
        if (strcmp(sceneList[i].modelPath, modelPath) == 0)
            return rowObjects[i];
    return -1;
}

void initScene() {
    glewInit();
    glfwInit();
    buildAngleTables();
    // Taken before loading, so the loading time counts into the script's clock.
    startTime = calendarClock(nullptr);
    setFixedFunctionState();
    placeCameraAndLight();
    loadSceneList();
    initParticles();
    // Names below 2^24 survive the float exactly.
    particleMaskTexture = (float)loadRawTexture("res/particle_mask.raw", 256, 256);
    particleTexture = (float)loadRawTexture("res/particle.raw", 256, 256);
    bindExtensionEntryPoints();
    createShadowTarget();
    // After the bitmaps, the particle images and the shadow target have their names, so that
    // every one of those stays as before.
    createWhiteTexture();
    buildShadowProgram();
    glEnable(GL_DEPTH_TEST);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glEnable(GL_CULL_FACE);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}
