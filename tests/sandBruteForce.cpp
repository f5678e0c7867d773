#include "tests/sandBruteForce.h"

#include <algorithm>
#include <cmath>

namespace {

const int PATCHES_PER_SIDE = 64;

// The triangle's height at (x, z) when it lies over that point: the point on the same side of
// all three edges seen from above (or on one), the height from the plane through the corners.
bool heightOf(const SandTriangle& t, double x, double z, double& out) {
    if (x < t.minX || x > t.maxX || z < t.minZ || z > t.maxZ)
        return false;
    double ux = t.x[1] - t.x[0], uy = t.y[1] - t.y[0], uz = t.z[1] - t.z[0];
    double vx = t.x[2] - t.x[0], vy = t.y[2] - t.y[0], vz = t.z[2] - t.z[0];
    double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
    double slack = 1e-4 * std::fabs(ny);
    if (std::fabs(ny) < 1e-6)
        return false;
    int below = 0, above = 0;
    for (int k = 0; k < 3; k++) {
        int n = (k + 1) % 3;
        double side = (t.z[n] - t.z[k]) * (x - t.x[k]) - (t.x[n] - t.x[k]) * (z - t.z[k]);
        below += side < -slack;
        above += side > slack;
    }
    if (below && above)
        return false;
    out = t.y[0] - (nx * (x - t.x[0]) + nz * (z - t.z[0])) / ny;
    return true;
}

} // namespace

std::vector<SandTriangle> sandTriangles(const SceneObject& desert) {
    const float* m = desert.matrix;
    std::vector<SandTriangle> all;
    for (int i = 0; i < desert.polygonCount; i++) {
        const int corners[3] = {desert.polygons[i].a, desert.polygons[i].b, desert.polygons[i].c};
        SandTriangle t;
        for (int k = 0; k < 3; k++) {
            const Vec3f& v = desert.vertices[corners[k]];
            t.x[k] = (double)m[0] * v.x + (double)m[4] * v.y + (double)m[8] * v.z + m[12];
            t.y[k] = (double)m[1] * v.x + (double)m[5] * v.y + (double)m[9] * v.z + m[13];
            t.z[k] = (double)m[2] * v.x + (double)m[6] * v.y + (double)m[10] * v.z + m[14];
        }
        t.minX = std::min({t.x[0], t.x[1], t.x[2]}), t.maxX = std::max({t.x[0], t.x[1], t.x[2]});
        t.minZ = std::min({t.z[0], t.z[1], t.z[2]}), t.maxZ = std::max({t.z[0], t.z[1], t.z[2]});
        all.push_back(t);
    }
    return all;
}

float highestTriangleAt(const std::vector<SandTriangle>& triangles, float x, float z) {
    double best = -INFINITY, height;
    for (const SandTriangle& t : triangles)
        if (heightOf(t, x, z, height))
            best = std::max(best, height);
    return (float)best;
}

float sandHeightAt(const SceneObject& desert, float x, float z) {
    return highestTriangleAt(sandTriangles(desert), x, z);
}

SandPatches::SandPatches(const SceneObject& desert, float x, float z, float reach)
    : x0(x - reach), z0(z - reach), side(2.0 * reach / PATCHES_PER_SIDE),
      triangles(sandTriangles(desert)), patches(PATCHES_PER_SIDE * PATCHES_PER_SIDE) {
    for (int index = 0; index < (int)triangles.size(); index++) {
        const SandTriangle& t = triangles[index];
        int i0 = (int)std::floor((t.minX - x0) / side), i1 = (int)std::floor((t.maxX - x0) / side);
        int j0 = (int)std::floor((t.minZ - z0) / side), j1 = (int)std::floor((t.maxZ - z0) / side);
        for (int j = std::max(j0, 0); j <= std::min(j1, PATCHES_PER_SIDE - 1); j++)
            for (int i = std::max(i0, 0); i <= std::min(i1, PATCHES_PER_SIDE - 1); i++)
                patches[j * PATCHES_PER_SIDE + i].push_back(index);
    }
}

float SandPatches::heightAt(float x, float z) const {
    int i = (int)std::floor((x - x0) / side), j = (int)std::floor((z - z0) / side);
    if (i < 0 || j < 0 || i >= PATCHES_PER_SIDE || j >= PATCHES_PER_SIDE)
        return -INFINITY;
    double best = -INFINITY, height;
    for (int index : patches[j * PATCHES_PER_SIDE + i])
        if (heightOf(triangles[index], x, z, height))
            best = std::max(best, height);
    return (float)best;
}
