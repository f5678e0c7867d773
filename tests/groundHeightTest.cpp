// The ground the frame keeps the eye over answers as every triangle of the desert tried in turn
// does: on a fine lattice over the detailed sand that falls on the buckets' borders and runs past
// them, far out where the landforms and the outer rings are, before the desert loads, and again
// after its matrix moves.
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

#include "math/angleTables.h"
#include "math/matrix.h"
#include "math/transforms.h"
#include "scene/sceneStore.h"
#include "scene/groundHeight.h"
#include "scene/load3ds.h"
#include "tests/sandBruteForce.h"

namespace {

const float LATTICE_STEP = 4;     // units: a quarter of the buckets' side, so on every border
const float PAST_THE_GRID = 48;   // units the lattice runs past the small triangles' corner
const float WIDEST_BUCKETED = 64; // the longest side of a triangle that sets the grid's extent

struct Placement {
    const char* name;
    float x, y, z;
    int angleX, angleY, angleZ; // tenths of a degree
};

const Placement PLACEMENTS[] = {
    {"as the scene places it", -10, 20, -150, 2700, 0, 900},
    {"moved and turned", 37.5f, -4, 210, 2700, 0, 1300},
};

// Counts the points where the ground differs from the brute force; the first few in `report`.
int countDifferences(const SceneObject& desert, std::string& report) {
    std::vector<SandTriangle> all = sandTriangles(desert);
    // The grid's cells start at the corner of the triangles no wider than WIDEST_BUCKETED.
    double x0 = INFINITY, x1 = -INFINITY, z0 = INFINITY, z1 = -INFINITY;
    for (const SandTriangle& t : all)
        if (t.maxX - t.minX <= WIDEST_BUCKETED && t.maxZ - t.minZ <= WIDEST_BUCKETED)
            x0 = fmin(x0, t.minX), x1 = fmax(x1, t.maxX), z0 = fmin(z0, t.minZ),
            z1 = fmax(z1, t.maxZ);
    float reach = (float)fmax(x1 - x0, z1 - z0) / 2 + 2 * PAST_THE_GRID;
    SandPatches near(desert, (float)(x0 + x1) / 2, (float)(z0 + z1) / 2, reach);
    int differences = 0;
    auto check = [&](float x, float z, float expected) {
        float ground = groundHeightAt(x, z);
        bool same = std::isinf(expected)
                        ? ground == expected
                        : std::fabs(ground - expected) <= 1e-3f * (1 + std::fabs(expected));
        if (!same && differences++ < 5)
            report += "\n  at (" + std::to_string(x) + ", " + std::to_string(z) +
                      "): " + std::to_string(ground) +
                      ", every triangle tried: " + std::to_string(expected);
    };
    for (float x = (float)x0 - PAST_THE_GRID; x <= x1 + PAST_THE_GRID; x += LATTICE_STEP)
        for (float z = (float)z0 - PAST_THE_GRID; z <= z1 + PAST_THE_GRID; z += LATTICE_STEP)
            check(x, z, near.heightAt(x, z));
    // Out to the landforms and the rings past them, and beyond the model.
    for (float distance : {800.0f, 3000.0f, 5200.0f, 6100.0f, 9000.0f, 12500.0f, 30000.0f, 1e6f})
        for (int step = 0; step < 90; step++) {
            float x = 25 + distance * cosf(step * 0.0698f),
                  z = -100 + distance * sinf(step * 0.0698f);
            check(x, z, highestTriangleAt(all, x, z));
        }
    return differences;
}

TEST(GroundHeight, AnswersAsEveryTriangleTriedInTurnBeforeLoadingAndAfterEachMove) {
    if (!std::filesystem::exists("res/desert.3ds"))
        GTEST_FAIL() << "generated res/ missing: the build writes it into the run directory";
    groundObject = -1;
    objectCount = 0;
    EXPECT_EQ(groundHeightAt(25, -100), -INFINITY) << "ground before the desert is loaded";
    buildAngleTables();
    SceneObject& desert = sceneObjects[0];
    ASSERT_TRUE(load3dsFile(&desert, "res/desert.3ds"));
    objectCount = 1;
    EXPECT_EQ(groundHeightAt(25, -100), -INFINITY) << "ground while no slot is named the desert";
    groundObject = 0;
    for (const Placement& p : PLACEMENTS) {
        matIdentity(desert.matrix);
        objectSetPosition(desert.matrix, p.x, p.y, p.z);
        objectRotate(desert.matrix, p.angleX, p.angleY, p.angleZ);
        std::string report;
        EXPECT_EQ(countDifferences(desert, report), 0) << p.name << report;
    }
    for (float bad : {NAN, INFINITY, -1e30f, 3e9f})
        EXPECT_EQ(groundHeightAt(bad, 10), -INFINITY) << bad;
}

} // namespace
