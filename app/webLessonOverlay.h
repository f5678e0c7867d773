#pragma once
// What the lesson draws over a pass view, after the view has been read back.
#include <vector>

// An RGB window image (bottom row first) over the whole window.
void showImage(const std::vector<unsigned char>& rgb);
// The light's view frustum, from its near plane to LIGHT_FRUSTUM_DEPTH, as lines in the camera's
// view.
const double LIGHT_FRUSTUM_DEPTH = 700.0; // units from the light: past the sand below it
void drawLightFrustum();
// The camera's footprint (render/passViewGeometry.h: cameraFootprint) as lines over the depth view.
void drawCameraFootprint();
