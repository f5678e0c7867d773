#pragma once
#include "math/mathTypes.h"

extern Mat4 cameraMatrix;
extern Mat4 lightMatrix;

// Adds to elements 12..14: shifts the whole scene in eye coordinates.
void cameraTranslate(float dx, float dy, float dz);
void lightTranslate(float dx, float dy, float dz);
// target = Rz * Ry * Rx * target: turns about the eye's own axes.
void cameraRotate(int ax, int ay, int az);
void lightRotate(int ax, int ay, int az);

// An object's placement, its model matrix (a scene object's matrix):
void objectSetPosition(Mat4& objectMatrix, float x, float y, float z);
// matrix = matrix * T: moves along the object's own axes.
void objectMoveLocal(Mat4& objectMatrix, float dx, float dy, float dz);
// matrix = matrix * Rx * Ry * Rz: turns about the object's own origin.
void objectRotate(Mat4& objectMatrix, int ax, int ay, int az);
