#pragma once

extern float lightAmbient[4];
extern float lightDiffuse[4];
extern float billboardAngles[3];
extern float particleMaskTexture;
extern float particleTexture;

void initScene();
