#pragma once
#include "math/mathTypes.h"

const int MAX_OBJECTS = 100;
const int MAX_VERTICES = 100000;
const int MAX_POLYGONS = 70000;

struct SceneObject {
    char name[20];
    int vertexCount;
    int polygonCount;
    Vec3f vertices[MAX_VERTICES];
    Vec3f normals[MAX_VERTICES];
    Triangle polygons[MAX_POLYGONS];
    TexCoord2f texCoords[MAX_VERTICES];
    Mat4 matrix;
    int textureId;
};

// Zero-filled static storage (about 400 MB of address space); only touched pages become resident.
extern SceneObject sceneObjects[MAX_OBJECTS];
extern int objectCount;
