#pragma once
#include "scene/sceneStore.h"

// Per-vertex normals: the plain average of the unit normals of the triangles using each vertex.
void computeVertexNormals(SceneObject* object);
