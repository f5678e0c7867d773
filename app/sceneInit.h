#pragma once
// The scene's start: its table of models and the globals' start state (scene/sceneState.h).
#include "scene/sceneState.h"

const int SCENE_LIST_ROWS = 21;
const char* const DESERT_MODEL = "res/desert.3ds"; // the ground the eye is kept over

struct SceneListRow {
    const char* modelPath;
    const char* texturePath;
    float x, y, z;
    int angleX, angleY, angleZ; // tenths of a degree
};

// The desert scene, one row per object in table order.
extern const SceneListRow sceneList[SCENE_LIST_ROWS];

// The table slot that the scene list's model file took, or -1 where it did not load: a model
// that cannot be read takes no slot, so the rows after it move down.
int sceneObjectOf(const char* modelPath);

// Brings every global to its start state and loads the scene; once, with a current GL context.
void initScene();
