#pragma once
// The desert's relief in world terms (+y up), shared by every scenery model that must stand on it.
#include "modelMesh.h"

// Extent of the detailed sand, where everything stands, in world x and z.
const float DESERT_MIN_X = -300, DESERT_MAX_X = 350;
const float DESERT_MIN_Z = -350, DESERT_MAX_Z = 150;
// Level of the open desert around it; the dunes there are lower and broader.
const float OUTER_LEVEL = 9;

// Height of the sand surface at world (x, z), defined everywhere. Smooth; passes through every
// object's contact point.
float sandHeight(float x, float z);
// From world coordinates into the model frame of a z-up scene row placed at (x, y, z) with the
// turns angleX 2700 and angleZ (degrees; angleY 0).
Xform worldToZUpRow(float x, float y, float z, float angleZDegrees);
