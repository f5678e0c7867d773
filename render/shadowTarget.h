#pragma once
#include <GL/glew.h>

const int SHADOW_MAP_SCALE = 4; // shadow map side per window pixel side
const int SHADOW_MAP_UNIT = 7;  // texture unit of the ShadowMap sampler

extern GLuint shadowDepthTexture; // depth texture the depth pass renders into
extern GLuint shadowFramebuffer;  // framebuffer object holding only that texture
extern int shadowMapWidth;        // the depth texture's size in texels, fixed at creation
extern int shadowMapHeight;

// Sized from the window at the time of the call (SHADOW_MAP_SCALE texels per pixel side), held to
// the GL's largest texture and renderbuffer side, and kept for the whole run; needs
// bindExtensionEntryPoints.
void createShadowTarget();

// The wanted size held to `largest` on each side, its aspect kept (each side at least 1).
void fitShadowTarget(int wantedWidth, int wantedHeight, int largest, int* width, int* height);
