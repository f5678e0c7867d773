#pragma once

const double FIELD_OF_VIEW = 45.0; // degrees, vertical, both passes
const double NEAR_PLANE = 10.0;    // both passes
const double FAR_PLANE = 40000.0;  // both passes

// The frame's aspect: the truncating integer quotient width / height (1.0 for 640 x 480, not
// 1.333), with 1 where that quotient would be 0 or the height is 0.
double frameAspect(int width, int height);

// Depth only, from lightMatrix, into the shadow framebuffer: viewport 4 x the window, clamped to
// the depth texture; leaves the texture matrix of the shadow unit set for the lit pass.
void renderDepthPass();
// The scene from cameraMatrix into the window through shadowProgram, under the depth pass's
// projection.
void renderLitPass();

// With the light's projection, view and viewport current: texture matrix of the shadow unit =
// region * bias * light projection * light view * inverse(cameraMatrix), so that it maps eye
// positions of the lit pass to shadow-map coordinates inside the region the viewport drew
// (region scales 0..1 to viewport / texture size). Leaves the matrix mode at GL_MODELVIEW.
void loadShadowTextureMatrix();

// out = inverse of m (both column-major); false, leaving out unchanged, when m is singular.
bool invertMatrix(const double m[16], double out[16]);
