#pragma once
// What the frame's parts share of the scene besides its objects: the light, the material, the
// particles' facing and their two images. initScene (app/sceneInit.h) sets them up.

// Scene light (GL_LIGHT1) and front material; the particles reuse the two light colours.
extern float lightAmbient[4];
extern float lightDiffuse[4];
extern float lightSpecular[4];
extern float lightPosition[4];
extern float materialAmbient[4];
extern float materialDiffuse[4];
extern float materialSpecular[4];
extern float materialShininess[1];

// The particles' facing, tenths of a degree about x, y, z; the script and the user's steering turn
// it with the camera.
extern float billboardAngles[3];
// GL texture names of the particles' mask and picture, held as floats.
extern float particleMaskTexture;
extern float particleTexture;
