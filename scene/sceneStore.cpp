#include "scene/sceneStore.h"

SceneObject sceneObjects[MAX_OBJECTS]; // entries 0 .. objectCount - 1 are live
int objectCount = 0;                   // 0 .. MAX_OBJECTS
