#include "scene/groundHeight.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "scene/sceneStore.h"

// The desert's triangles in world terms, bucketed on a grid of square cells over the detailed
// sand, where most of them are and where the eye spends its time; the few that reach beyond the
// grid are also kept in one list for the rest of the world.
struct GroundTriangle {
    float x[3], y[3], z[3];
    float minX, maxX, minZ, maxZ;
};

static const float CELL = 16;           // units
static const float SMALL_TRIANGLE = 64; // longest side of a triangle that sets the grid's extent
static const int MAX_CELLS_PER_SIDE = 256;

static std::vector<GroundTriangle> triangles;
static std::vector<std::vector<int>> cells; // triangle indices per cell, row-major in z
static std::vector<int> beyondGrid;         // triangles reaching outside the grid
static float gridX0, gridZ0;
static int cellsX, cellsZ;
// What the buckets were built from: rebuilt when the desert is loaded again or moved.
static Mat4 builtMatrix;
static int builtPolygons = -1, builtVertices = -1;

// ---- helpers ----
static void buildBuckets(const SceneObject& desert);
static bool heightOver(const GroundTriangle& t, float x, float z, float& out);

static void buildBuckets(const SceneObject& desert) {
    const float* m = desert.matrix;
    triangles.assign(desert.polygonCount, GroundTriangle());
    float x0 = INFINITY, x1 = -INFINITY, z0 = INFINITY, z1 = -INFINITY;
    for (int i = 0; i < desert.polygonCount; i++) {
        GroundTriangle& t = triangles[i];
        const int corners[3] = {desert.polygons[i].a, desert.polygons[i].b, desert.polygons[i].c};
        for (int k = 0; k < 3; k++) {
            const Vec3f& v = desert.vertices[corners[k]];
            t.x[k] = m[0] * v.x + m[4] * v.y + m[8] * v.z + m[12];
            t.y[k] = m[1] * v.x + m[5] * v.y + m[9] * v.z + m[13];
            t.z[k] = m[2] * v.x + m[6] * v.y + m[10] * v.z + m[14];
        }
        t.minX = fminf(t.x[0], fminf(t.x[1], t.x[2]));
        t.maxX = fmaxf(t.x[0], fmaxf(t.x[1], t.x[2]));
        t.minZ = fminf(t.z[0], fminf(t.z[1], t.z[2]));
        t.maxZ = fmaxf(t.z[0], fmaxf(t.z[1], t.z[2]));
        if (t.maxX - t.minX <= SMALL_TRIANGLE && t.maxZ - t.minZ <= SMALL_TRIANGLE) {
            x0 = fminf(x0, t.minX), x1 = fmaxf(x1, t.maxX);
            z0 = fminf(z0, t.minZ), z1 = fmaxf(z1, t.maxZ);
        }
    }
    if (x0 > x1)
        x0 = x1 = z0 = z1 = 0;
    gridX0 = x0, gridZ0 = z0;
    cellsX = std::min(MAX_CELLS_PER_SIDE, (int)ceilf((x1 - x0) / CELL) + 1);
    cellsZ = std::min(MAX_CELLS_PER_SIDE, (int)ceilf((z1 - z0) / CELL) + 1);
    float gridX1 = gridX0 + cellsX * CELL, gridZ1 = gridZ0 + cellsZ * CELL;
    cells.assign((size_t)cellsX * cellsZ, std::vector<int>());
    beyondGrid.clear();
    for (int i = 0; i < (int)triangles.size(); i++) {
        const GroundTriangle& t = triangles[i];
        if (t.minX < gridX0 || t.maxX > gridX1 || t.minZ < gridZ0 || t.maxZ > gridZ1)
            beyondGrid.push_back(i);
        int i0 = std::max(0, (int)floorf((t.minX - gridX0) / CELL));
        int i1 = std::min(cellsX - 1, (int)floorf((t.maxX - gridX0) / CELL));
        int j0 = std::max(0, (int)floorf((t.minZ - gridZ0) / CELL));
        int j1 = std::min(cellsZ - 1, (int)floorf((t.maxZ - gridZ0) / CELL));
        for (int j = j0; j <= j1; j++)
            for (int k = i0; k <= i1; k++)
                cells[(size_t)j * cellsX + k].push_back(i);
    }
    memcpy(builtMatrix, desert.matrix, sizeof builtMatrix);
    builtPolygons = desert.polygonCount;
    builtVertices = desert.vertexCount;
}

// The triangle's height at (x, z) when it lies over that point.
static bool heightOver(const GroundTriangle& t, float x, float z, float& out) {
    if (x < t.minX || x > t.maxX || z < t.minZ || z > t.maxZ)
        return false;
    float d = (t.x[1] - t.x[0]) * (t.z[2] - t.z[0]) - (t.x[2] - t.x[0]) * (t.z[1] - t.z[0]);
    if (fabsf(d) < 1e-6f)
        return false; // upright: the faces beside it carry the height
    float s = ((x - t.x[0]) * (t.z[2] - t.z[0]) - (t.x[2] - t.x[0]) * (z - t.z[0])) / d;
    float r = ((t.x[1] - t.x[0]) * (z - t.z[0]) - (x - t.x[0]) * (t.z[1] - t.z[0])) / d;
    if (s < -1e-4f || r < -1e-4f || s + r > 1 + 1e-4f)
        return false;
    out = t.y[0] + s * (t.y[1] - t.y[0]) + r * (t.y[2] - t.y[0]);
    return true;
}

float groundHeightAt(float x, float z) {
    if (objectCount <= DESERT_OBJECT)
        return -INFINITY;
    const SceneObject& desert = sceneObjects[DESERT_OBJECT];
    if (desert.polygonCount != builtPolygons || desert.vertexCount != builtVertices ||
        memcmp(desert.matrix, builtMatrix, sizeof builtMatrix) != 0)
        buildBuckets(desert);
    int i = (int)floorf((x - gridX0) / CELL), j = (int)floorf((z - gridZ0) / CELL);
    bool inGrid = i >= 0 && i < cellsX && j >= 0 && j < cellsZ;
    const std::vector<int>& candidates = inGrid ? cells[(size_t)j * cellsX + i] : beyondGrid;
    float best = -INFINITY, height;
    for (int index : candidates)
        if (heightOver(triangles[index], x, z, height))
            best = fmaxf(best, height);
    return best;
}
