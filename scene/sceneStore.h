#pragma once
#include "math/mathTypes.h"

#ifdef WEB_MAX_VERTICES
// The page's table holds what its packed res/ needs, so that a phone grants its memory; web.cmake
// sets the figures and checks at build time that every packed model fits.
const int MAX_OBJECTS = WEB_MAX_OBJECTS;
const int MAX_VERTICES = WEB_MAX_VERTICES;
const int MAX_POLYGONS = WEB_MAX_POLYGONS;
#else
const int MAX_OBJECTS = 100;
const int MAX_VERTICES = 100000;
const int MAX_POLYGONS = 70000;
#endif

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

// Zero-filled static storage (about 400 MB of address space on the desktop, 15 MB on the page);
// only touched pages become resident.
extern SceneObject sceneObjects[MAX_OBJECTS];
extern int objectCount;
