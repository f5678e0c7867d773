#pragma once

// The desert model's row in the scene table.
const int DESERT_OBJECT = 0;

// Highest surface of the desert model over world (x, z), as placed now: the sand, or a landform
// standing on it. -INFINITY where the model has no triangle, or before it is loaded.
float groundHeightAt(float x, float z);
