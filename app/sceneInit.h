#pragma once

const int SCENE_LIST_ROWS = 21;
const char* const DESERT_MODEL = "res/desert.3ds"; // the ground the eye is kept over

// Scene light (GL_LIGHT1) and front material; the particles reuse the two light colours.
extern float lightAmbient[4];
extern float lightDiffuse[4];
extern float lightSpecular[4];
extern float lightPosition[4];
extern float materialAmbient[4];
extern float materialDiffuse[4];
extern float materialSpecular[4];
extern float materialShininess[1];

extern float billboardAngles[3];
extern float particleMaskTexture;
extern float particleTexture;

struct SceneListRow {
    const char* modelPath;
    const char* texturePath;
    float x, y, z;
    int angleX, angleY, angleZ; // tenths of a degree
};

// The desert scene, one row per object in table order.
extern const SceneListRow sceneList[SCENE_LIST_ROWS];

// Brings every global to its start state and loads the scene; once, with a current GL context.
void initScene();
