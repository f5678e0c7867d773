#pragma once
// The desert's surface found the plain way, for the tests that check the ground the frame keeps
// the eye over: every triangle of the model as placed now, in double precision, from its plane's
// normal and the sides of its edges (not the frame's buckets or its barycentric formula).
#include <vector>

#include "scene/sceneStore.h"

struct SandTriangle {
    double x[3], y[3], z[3];
    double minX, maxX, minZ, maxZ;
};

// Every triangle of the object, in world terms.
std::vector<SandTriangle> sandTriangles(const SceneObject& desert);

// Highest of the triangles over world (x, z); -INFINITY where none lies over it. Upright ones are
// left out: the faces beside them carry the height.
float highestTriangleAt(const std::vector<SandTriangle>& triangles, float x, float z);

// Highest surface of the object at world (x, z), trying every triangle.
float sandHeightAt(const SceneObject& desert, float x, float z);

// The same within `reach` of (x, z): the triangles there kept in square patches of the plain
// sorting, so that a whole frame's pixels can each be tried against every triangle near them.
class SandPatches {
  public:
    SandPatches(const SceneObject& desert, float x, float z, float reach);
    float heightAt(float x, float z) const;

  private:
    double x0, z0, side;
    std::vector<SandTriangle> triangles;
    std::vector<std::vector<int>> patches; // indices into triangles
};
