#include "app/sceneInit.h"

float lightAmbient[4] = {0.1f, 0.1f, 0.1f, 0.5f};
float lightDiffuse[4] = {1.0f, 1.0f, 1.0f, 0.0f};
float billboardAngles[3];  // tenths of a degree about x, y, z
float particleMaskTexture; // GL texture name held as a float
float particleTexture;     // GL texture name held as a float

void initScene() {}
