// Placeholder until the readers land; keeps every caller linking.
#include "scene/addSceneObject.h"
#include "scene/load3ds.h"
#include "scene/textureLoaders.h"
#include "scene/vertexNormals.h"

int bitmapTextureCounter = -1;
bool load3dsFile(SceneObject*, const char*) {
    return false;
}
void computeVertexNormals(SceneObject*) {}
int loadBitmapTexture(const char*) {
    return -1;
}
unsigned int loadRawTexture(const char*, int, int) {
    return 0;
}
bool addSceneObject(const char*, const char*, float, float, float, int, int, int) {
    return false;
}
