#pragma once

// Reads a model and its bitmap into the next free table slot, placed at (x, y, z) and turned by
// the three angles (tenths of a degree). False when the model was not read or the table is full.
bool addSceneObject(const char* modelPath, const char* texturePath, float x, float y, float z,
                    int angleX, int angleY, int angleZ);
