#include "app/stripCrop.h"

#include "app/sceneInit.h"
#include "render/passViewGeometry.h"
#include "scene/sceneStore.h"

bool sceneStripCrop(int& x, int& y) {
    int girl = sceneObjectOf("res/Girl.3ds");
    if (girl < 0)
        return false;
    const float* m = sceneObjects[girl].matrix;
    const float feet[3] = {m[12], m[13], m[14]};
    stripCrop(feet, x, y);
    return true;
}
