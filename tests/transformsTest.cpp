#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "math/angleTables.h"
#include "math/matrix.h"
#include "math/transforms.h"
#include "scene/sceneStore.h"

namespace {

class Transforms : public ::testing::Test {
  protected:
    SceneObject* obj = &sceneObjects[0];
    void SetUp() override {
        buildAngleTables();
        matIdentity(cameraMatrix);
        cameraTranslate(-100, -30, 45);
        matIdentity(obj->matrix);
    }
};

// Reference product in plain mathematical notation: out = m * n (column-major).
void mathProduct(const Mat4& m, const Mat4& n, Mat4& out) {
    for (int col = 0; col < 4; col++)
        for (int row = 0; row < 4; row++) {
            double sum = 0;
            for (int k = 0; k < 4; k++)
                sum += (double)m[k * 4 + row] * n[col * 4 + k];
            out[col * 4 + row] = (float)sum;
        }
}

void rotationAboutX(int entry, Mat4& r) {
    matIdentity(r);
    r[5] = cosTable[entry];
    r[6] = sinTable[entry];
    r[9] = -sinTable[entry];
    r[10] = cosTable[entry];
}

void expectNear(const Mat4& a, const Mat4& b, float tolerance = 1e-4f) {
    for (int i = 0; i < 16; i++)
        EXPECT_NEAR(a[i], b[i], tolerance) << "element " << i;
}

} // namespace

TEST_F(Transforms, ZeroAndOutOfRangeAnglesLeaveMatricesBitForBitUnchanged) {
    cameraRotate(300, 0, 0);
    Mat4 before;
    matCopy(before, cameraMatrix);
    for (int angle : {0, 3600, -3600, -3601, 5000}) {
        cameraRotate(angle, angle, angle);
        EXPECT_EQ(0, memcmp(before, cameraMatrix, sizeof(Mat4))) << "angle " << angle;
    }
    objectRotate(obj->matrix, 450, 0, 0);
    matCopy(before, obj->matrix);
    objectRotate(obj->matrix, 0, 0, 0);
    EXPECT_EQ(0, memcmp(before, obj->matrix, sizeof(Mat4)));
}

TEST_F(Transforms, CameraTurnIsRotationTimesCameraWithNegativeAngleWrapped) {
    Mat4 r, expected;
    rotationAboutX(3595, r); // -5 wraps to entry 3595
    mathProduct(r, cameraMatrix, expected);
    cameraRotate(-5, 0, 0);
    expectNear(cameraMatrix, expected);
}

TEST_F(Transforms, ObjectTurnIsObjectTimesRotationAndKeepsPosition) {
    objectSetPosition(obj->matrix, 7, 8, 9);
    objectRotate(obj->matrix, 0, 0, 300);
    Mat4 r, expected;
    rotationAboutX(450, r);
    mathProduct(obj->matrix, r, expected);
    objectRotate(obj->matrix, 450, 0, 0);
    expectNear(obj->matrix, expected);

    objectRotate(obj->matrix, 0, 1800, 0);
    EXPECT_EQ(obj->matrix[12], 7.0f);
    EXPECT_EQ(obj->matrix[13], 8.0f);
    EXPECT_EQ(obj->matrix[14], 9.0f);
}

TEST_F(Transforms, ThreeAxisTurnAppliesXThenYThenZ) {
    Mat4 together;
    cameraRotate(100, 200, 300);
    matCopy(together, cameraMatrix);

    matIdentity(cameraMatrix);
    cameraTranslate(-100, -30, 45);
    cameraRotate(100, 0, 0);
    cameraRotate(0, 200, 0);
    cameraRotate(0, 0, 300);
    EXPECT_EQ(0, memcmp(together, cameraMatrix, sizeof(Mat4)));

    matIdentity(cameraMatrix);
    cameraTranslate(-100, -30, 45);
    cameraRotate(0, 0, 300);
    cameraRotate(0, 200, 0);
    cameraRotate(100, 0, 0);
    EXPECT_NE(0, memcmp(together, cameraMatrix, sizeof(Mat4)));
}

TEST_F(Transforms, TurnForwardAndBackIsNotExactlyTheIdentity) {
    objectRotate(obj->matrix, 0, 20, 0);
    objectRotate(obj->matrix, 0, -20, 0);
    // -20 is entry 3580: together the two turns are 3600 steps of 3.1415 / 1800, i.e. 6.283 rad,
    // 1.853e-4 rad short of a full turn. y turn: element 8 is its sine, element 2 minus it.
    const float shortfall = (float)(6.283 - 2 * M_PI);
    EXPECT_NEAR(obj->matrix[8], shortfall, 2e-6f);
    EXPECT_NEAR(obj->matrix[2], -shortfall, 2e-6f);
    EXPECT_NEAR(obj->matrix[0], 1.0f, 1e-6f);
    EXPECT_NEAR(obj->matrix[10], 1.0f, 1e-6f);
    EXPECT_EQ(obj->matrix[5], 1.0f);
}

TEST_F(Transforms, LocalMoveFollowsTheObjectsTurnedAxes) {
    objectSetPosition(obj->matrix, 1, 2, 3);
    objectRotate(obj->matrix, 0, 900, 0);
    objectMoveLocal(obj->matrix, 0, 0, 1);
    EXPECT_NEAR(obj->matrix[12], 2.0f, 1e-3f);
    EXPECT_NEAR(obj->matrix[13], 2.0f, 1e-6f);
    EXPECT_NEAR(obj->matrix[14], 3.0f, 1e-3f);
}

TEST_F(Transforms, TranslationsAddToTheTranslationColumnOnly) {
    cameraRotate(240, 130, 0);
    Mat4 before;
    matCopy(before, cameraMatrix);
    cameraTranslate(0, 0, 1.0f);
    EXPECT_EQ(cameraMatrix[14], before[14] + 1.0f);
    for (int i = 0; i < 12; i++)
        EXPECT_EQ(cameraMatrix[i], before[i]);

    matIdentity(lightMatrix);
    lightTranslate(-20, -560, 30);
    EXPECT_EQ(lightMatrix[12], -20.0f);
    EXPECT_EQ(lightMatrix[13], -560.0f);
    EXPECT_EQ(lightMatrix[14], 30.0f);
}

namespace {

// Quarter turns written out by hand (column-major, rotation block only: elements 0-2, 4-6, 8-10).
// Right-handed: x takes y to z, y takes z to x, z takes x to y.
struct Block {
    float e[9];
};
const Block QUARTER_X = {{1, 0, 0, 0, 0, 1, 0, -1, 0}};
const Block QUARTER_Y = {{0, 0, -1, 0, 1, 0, 1, 0, 0}};
const Block QUARTER_Z = {{0, 1, 0, -1, 0, 0, 0, 0, 1}};

void expectBlock(const Mat4& m, const Block& b, const char* what) {
    const int index[9] = {0, 1, 2, 4, 5, 6, 8, 9, 10};
    for (int i = 0; i < 9; i++)
        EXPECT_NEAR(m[index[i]], b.e[i], 2e-4f) << what << ", element " << index[i];
}

void expectPosition(const Mat4& m, float x, float y, float z, const char* what) {
    EXPECT_NEAR(m[12], x, 2e-4f) << what;
    EXPECT_NEAR(m[13], y, 2e-4f) << what;
    EXPECT_NEAR(m[14], z, 2e-4f) << what;
    EXPECT_EQ(m[15], 1.0f) << what;
}

} // namespace

TEST_F(Transforms, QuarterTurnsAboutEachAxisTurnObjectsLocallyAndViewsAboutTheirEye) {
    // Start at (1, 2, 3): objects keep it (M * R), views turn it with them (R * M).
    struct {
        int ax, ay, az;
        Block block;
        float turned[3];
    } cases[] = {
        {900, 0, 0, QUARTER_X, {1, -3, 2}},
        {0, 900, 0, QUARTER_Y, {3, 2, -1}},
        {0, 0, 900, QUARTER_Z, {-2, 1, 3}},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ax << " " << c.ay << " " << c.az);
        matIdentity(obj->matrix);
        objectSetPosition(obj->matrix, 1, 2, 3);
        objectRotate(obj->matrix, c.ax, c.ay, c.az);
        expectBlock(obj->matrix, c.block, "object");
        expectPosition(obj->matrix, 1, 2, 3, "object");

        matIdentity(cameraMatrix);
        cameraTranslate(1, 2, 3);
        cameraRotate(c.ax, c.ay, c.az);
        expectBlock(cameraMatrix, c.block, "camera");
        expectPosition(cameraMatrix, c.turned[0], c.turned[1], c.turned[2], "camera");

        matIdentity(lightMatrix);
        lightTranslate(1, 2, 3);
        lightRotate(c.ax, c.ay, c.az);
        expectBlock(lightMatrix, c.block, "light");
        expectPosition(lightMatrix, c.turned[0], c.turned[1], c.turned[2], "light");
    }
}

TEST_F(Transforms, ThreeQuarterTurnsComposeXYZForObjectsAndZYXForViews) {
    // Rx * Ry * Rz and Rz * Ry * Rx of three quarter turns, multiplied out by hand.
    const Block objectOrder = {{0, 0, 1, 0, -1, 0, 1, 0, 0}};
    const Block viewOrder = {{0, 0, -1, 0, 1, 0, 1, 0, 0}};
    const Block xThenZ = {{0, 0, 1, -1, 0, 0, 0, -1, 0}}; // Rx * Rz
    objectRotate(obj->matrix, 900, 900, 900);
    expectBlock(obj->matrix, objectOrder, "object");
    matIdentity(obj->matrix);
    objectRotate(obj->matrix, 900, 0, 900);
    expectBlock(obj->matrix, xThenZ, "object, x and z");
    matIdentity(cameraMatrix);
    cameraRotate(900, 900, 900);
    expectBlock(cameraMatrix, viewOrder, "camera");
    matIdentity(lightMatrix);
    lightRotate(900, 900, 900);
    expectBlock(lightMatrix, viewOrder, "light");
}
