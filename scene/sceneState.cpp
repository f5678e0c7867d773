#include "scene/sceneState.h"

float lightAmbient[4] = {0.1f, 0.1f, 0.1f, 0.5f};      // RGBA
float lightDiffuse[4] = {1.0f, 1.0f, 1.0f, 0.0f};      // RGBA
float lightSpecular[4] = {1.0f, 1.0f, 1.0f, 0.2f};     // RGBA
float lightPosition[4] = {20.0f, 80.0f, -30.0f, 1.0f}; // eye coordinates, positional
float materialAmbient[4] = {0.1f, 0.1f, 0.1f, 0.0f};   // RGBA
float materialDiffuse[4] = {1.0f, 1.0f, 1.0f, 0.0f};   // RGBA
float materialSpecular[4] = {0.2f, 0.2f, 0.2f, 0.0f};  // RGBA
float materialShininess[1] = {1.0f};                   // specular exponent
float billboardAngles[3];                              // tenths of a degree about x, y, z
float particleMaskTexture;                             // GL texture name held as a float
float particleTexture;                                 // GL texture name held as a float
