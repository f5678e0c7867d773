#include <gtest/gtest.h>

#include <cstring>

#include "math/angleTables.h"
#include "math/matrix.h"
#include "math/transforms.h"

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
    objectRotate(*obj, 450, 0, 0);
    matCopy(before, obj->matrix);
    objectRotate(*obj, 0, 0, 0);
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
    objectSetPosition(*obj, 7, 8, 9);
    objectRotate(*obj, 0, 0, 300);
    Mat4 r, expected;
    rotationAboutX(450, r);
    mathProduct(obj->matrix, r, expected);
    objectRotate(*obj, 450, 0, 0);
    expectNear(obj->matrix, expected);

    objectRotate(*obj, 0, 1800, 0);
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
    objectRotate(*obj, 0, 20, 0);
    objectRotate(*obj, 0, -20, 0);
    Mat4 id;
    matIdentity(id);
    EXPECT_NE(0, memcmp(id, obj->matrix, sizeof(Mat4)));
    expectNear(id, obj->matrix, 1e-3f);
}

TEST_F(Transforms, LocalMoveFollowsTheObjectsTurnedAxes) {
    objectSetPosition(*obj, 1, 2, 3);
    objectRotate(*obj, 0, 900, 0);
    objectMoveLocal(*obj, 0, 0, 1);
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
