#include "scene/addSceneObject.h"

#include "math/matrix.h"
#include "math/transforms.h"
#include "scene/sceneStore.h"
#include "platform/platform.h"
#include "scene/load3ds.h"
#include "scene/textureLoaders.h"
#include "scene/vertexNormals.h"

bool addSceneObject(const char* modelPath, const char* texturePath, float x, float y, float z,
                    int angleX, int angleY, int angleZ) {
    if (objectCount < 0 || objectCount >= MAX_OBJECTS) {
        showErrorBox("Dust Riders", "scene table full, model not loaded", modelPath);
        return false;
    }
    SceneObject* slot = &sceneObjects[objectCount];
    if (!load3dsFile(slot, modelPath))
        return false;
    // Loaded only after the model, so a missing model uses up no texture name.
    slot->textureId = loadBitmapTexture(texturePath);
    computeVertexNormals(slot);
    matIdentity(slot->matrix);
    objectSetPosition(slot->matrix, x, y, z);
    objectRotate(slot->matrix, angleX, angleY, angleZ);
    objectCount++;
    return true;
}
