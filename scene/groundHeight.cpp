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
// What the buckets were built from: rebuilt when the desert's slot, its matrix or its vertex or
// triangle count changes (another model loaded into it, or the desert moved).
static Mat4 builtMatrix;
static int builtObject = -1, builtPolygons = -1, builtVertices = -1;
static std::vector<unsigned> seenIn; // per triangle: the last rectangle query that looked at it
static unsigned queryCount;

int groundObject = -1;

// ---- helpers ----
static void buildBuckets(const SceneObject& desert);
static bool bucketsReady();
static int cellOf(float offset, int count);
static bool heightOver(const GroundTriangle& t, float x, float z, float& out);
static float riseOverTriangle(const GroundTriangle& t, const float centre[3], const float across[3],
                              const float upward[3]);

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
    // Compared in float before the cast: a huge or corrupt extent has no int.
    cellsX = (int)fminf((float)MAX_CELLS_PER_SIDE, fmaxf(1, ceilf((x1 - x0) / CELL) + 1));
    cellsZ = (int)fminf((float)MAX_CELLS_PER_SIDE, fmaxf(1, ceilf((z1 - z0) / CELL) + 1));
    float gridX1 = gridX0 + cellsX * CELL, gridZ1 = gridZ0 + cellsZ * CELL;
    cells.assign((size_t)cellsX * cellsZ, std::vector<int>());
    beyondGrid.clear();
    for (int i = 0; i < (int)triangles.size(); i++) {
        const GroundTriangle& t = triangles[i];
        if (t.minX < gridX0 || t.maxX > gridX1 || t.minZ < gridZ0 || t.maxZ > gridZ1)
            beyondGrid.push_back(i);
        int i0 = cellOf(t.minX - gridX0, cellsX), i1 = cellOf(t.maxX - gridX0, cellsX);
        int j0 = cellOf(t.minZ - gridZ0, cellsZ), j1 = cellOf(t.maxZ - gridZ0, cellsZ);
        for (int j = j0; j <= j1; j++)
            for (int k = i0; k <= i1; k++)
                cells[(size_t)j * cellsX + k].push_back(i);
    }
    seenIn.assign(triangles.size(), 0);
    queryCount = 0;
    memcpy(builtMatrix, desert.matrix, sizeof builtMatrix);
    builtPolygons = desert.polygonCount;
    builtVertices = desert.vertexCount;
}

// Builds the buckets again when the desert changed; false while there is none.
static bool bucketsReady() {
    if (groundObject < 0 || groundObject >= objectCount)
        return false;
    const SceneObject& desert = sceneObjects[groundObject];
    if (groundObject != builtObject || desert.polygonCount != builtPolygons ||
        desert.vertexCount != builtVertices ||
        memcmp(desert.matrix, builtMatrix, sizeof builtMatrix) != 0) {
        buildBuckets(desert);
        builtObject = groundObject;
    }
    return true;
}

// The cell that an offset from the grid's edge falls in, held to 0 .. count - 1; compared in float
// before the cast, so that NaN and huge offsets are defined.
static int cellOf(float offset, int count) {
    float cell = floorf(offset / CELL);
    if (!(cell >= 0))
        return 0;
    return cell >= (float)(count - 1) ? count - 1 : (int)cell;
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

// The highest the triangle rises above the rectangle. Over the part of the rectangle that lies
// above the triangle, both are flat, so the most is found at a corner of that part: a corner of
// the rectangle, a crossing of their edges seen from above, or a corner of the triangle (found
// straight under it, or on the nearest point of each edge where the rectangle stands upright).
static float riseOverTriangle(const GroundTriangle& t, const float centre[3], const float across[3],
                              const float upward[3]) {
    const float cornerA[4] = {-1, 1, 1, -1}, cornerB[4] = {-1, -1, 1, 1};
    float candidates[32][2];
    int count = 0;
    auto add = [&](float a, float b) { candidates[count][0] = a, candidates[count++][1] = b; };
    auto x = [&](float a, float b) { return centre[0] + a * across[0] + b * upward[0]; };
    auto z = [&](float a, float b) { return centre[2] + a * across[2] + b * upward[2]; };
    for (int k = 0; k < 4; k++) {
        add(cornerA[k], cornerB[k]);
        int n = (k + 1) % 4;
        float px = x(cornerA[k], cornerB[k]), pz = z(cornerA[k], cornerB[k]);
        float dx = x(cornerA[n], cornerB[n]) - px, dz = z(cornerA[n], cornerB[n]) - pz;
        auto along = [&](float s) {
            add(cornerA[k] + s * (cornerA[n] - cornerA[k]),
                cornerB[k] + s * (cornerB[n] - cornerB[k]));
        };
        for (int e = 0; e < 3; e++) {
            float qx = t.x[e], qz = t.z[e];
            float ex = t.x[(e + 1) % 3] - qx, ez = t.z[(e + 1) % 3] - qz;
            float denominator = dx * ez - dz * ex;
            if (fabsf(denominator) > 1e-12f) {
                float s = ((qx - px) * ez - (qz - pz) * ex) / denominator;
                float r = ((qx - px) * dz - (qz - pz) * dx) / denominator;
                if (s >= 0 && s <= 1 && r >= -1e-4f && r <= 1 + 1e-4f)
                    along(s);
            }
            float length = dx * dx + dz * dz;
            if (length > 1e-12f)
                along(fminf(1, fmaxf(0, ((qx - px) * dx + (qz - pz) * dz) / length)));
        }
    }
    float determinant = across[0] * upward[2] - upward[0] * across[2];
    if (fabsf(determinant) > 1e-9f) {
        for (int e = 0; e < 3; e++) {
            float vx = t.x[e] - centre[0], vz = t.z[e] - centre[2];
            float a = (vx * upward[2] - upward[0] * vz) / determinant;
            float b = (across[0] * vz - vx * across[2]) / determinant;
            if (fabsf(a) <= 1 && fabsf(b) <= 1)
                add(a, b);
        }
    }
    float rise = -INFINITY, height;
    for (int i = 0; i < count; i++) {
        float a = candidates[i][0], b = candidates[i][1];
        if (heightOver(t, x(a, b), z(a, b), height))
            rise = fmaxf(rise, height - (centre[1] + a * across[1] + b * upward[1]));
    }
    return rise;
}

float groundHeightAt(float x, float z) {
    if (!std::isfinite(x) || !std::isfinite(z) || !bucketsReady())
        return -INFINITY;
    float i = floorf((x - gridX0) / CELL), j = floorf((z - gridZ0) / CELL);
    bool inGrid = i >= 0 && i < (float)cellsX && j >= 0 && j < (float)cellsZ;
    const std::vector<int>& candidates =
        inGrid ? cells[(size_t)j * cellsX + (size_t)i] : beyondGrid;
    float best = -INFINITY, height;
    for (int index : candidates)
        if (heightOver(triangles[index], x, z, height))
            best = fmaxf(best, height);
    return best;
}

float groundRiseOver(const float centre[3], const float across[3], const float upward[3]) {
    float x0 = INFINITY, x1 = -INFINITY, z0 = INFINITY, z1 = -INFINITY;
    for (float a : {-1.0f, 1.0f})
        for (float b : {-1.0f, 1.0f}) {
            float x = centre[0] + a * across[0] + b * upward[0];
            float z = centre[2] + a * across[2] + b * upward[2];
            x0 = fminf(x0, x), x1 = fmaxf(x1, x), z0 = fminf(z0, z), z1 = fmaxf(z1, z);
        }
    for (int i = 0; i < 3; i++)
        if (!std::isfinite(centre[i]) || !std::isfinite(across[i]) || !std::isfinite(upward[i]))
            return -INFINITY;
    if (!bucketsReady())
        return -INFINITY;
    if (++queryCount == 0) {
        seenIn.assign(triangles.size(), 0);
        queryCount = 1;
    }
    float rise = -INFINITY;
    auto look = [&](int index) {
        const GroundTriangle& t = triangles[index];
        if (seenIn[index] == queryCount || t.maxX < x0 || t.minX > x1 || t.maxZ < z0 || t.minZ > z1)
            return;
        seenIn[index] = queryCount;
        rise = fmaxf(rise, riseOverTriangle(t, centre, across, upward));
    };
    int i0 = cellOf(x0 - gridX0, cellsX), i1 = cellOf(x1 - gridX0, cellsX);
    int j0 = cellOf(z0 - gridZ0, cellsZ), j1 = cellOf(z1 - gridZ0, cellsZ);
    for (int j = j0; j <= j1; j++)
        for (int i = i0; i <= i1; i++)
            for (int index : cells[(size_t)j * cellsX + i])
                look(index);
    if (x0 < gridX0 || z0 < gridZ0 || x1 > gridX0 + cellsX * CELL || z1 > gridZ0 + cellsZ * CELL)
        for (int index : beyondGrid)
            look(index);
    return rise;
}
