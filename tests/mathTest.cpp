#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "math/angleTables.h"
#include "math/matrix.h"
#include "math/vector.h"

static void makeTranslation(float x, float y, float z, Mat4& m) {
    matIdentity(m);
    m[12] = x;
    m[13] = y;
    m[14] = z;
}

// A 90-degree turn about z written out by hand, column-major: x axis goes to y.
static void makeQuarterTurnZ(Mat4& m) {
    matIdentity(m);
    m[0] = 0;
    m[1] = 1;
    m[4] = -1;
    m[5] = 0;
}

TEST(AngleTables, UseThePiApproximation3Point1415) {
    buildAngleTables();
    EXPECT_FLOAT_EQ(sinTable[0], 0.0f);
    EXPECT_FLOAT_EQ(cosTable[0], 1.0f);
    EXPECT_FLOAT_EQ(sinTable[900], 1.0f);
    // With full pi these would be 0; 3.1415 leaves small, known residues.
    EXPECT_NEAR(cosTable[900], 4.6327e-05f, 1e-8f);
    EXPECT_NEAR(sinTable[1800], 9.2654e-05f, 1e-8f);
    EXPECT_FLOAT_EQ(cosTable[1800], -1.0f);
    EXPECT_FLOAT_EQ(sinTable[2700], -1.0f);
    EXPECT_NEAR(cosTable[2700], -1.3898e-04f, 1e-8f);
    EXPECT_NEAR(sinTable[3599], -1.9306e-03f, 1e-7f);
    EXPECT_NEAR(cosTable[3599], 0.9999982f, 1e-7f);
    EXPECT_EQ(sinTable[123], (float)sin(123 * 3.1415 / 1800));
}

TEST(MatMultiply, FirstOperandIsAppliedFirst) {
    Mat4 t, r, out;
    makeTranslation(1, 2, 3, t);
    makeQuarterTurnZ(r);

    // out = R * T: translation turned by R, rotation block R.
    matMultiply(t, r, out);
    EXPECT_FLOAT_EQ(out[12], -2.0f);
    EXPECT_FLOAT_EQ(out[13], 1.0f);
    EXPECT_FLOAT_EQ(out[14], 3.0f);
    for (int i : {0, 1, 2, 4, 5, 6, 8, 9, 10})
        EXPECT_FLOAT_EQ(out[i], r[i]) << "element " << i;

    // out = T * R: translation kept as it is.
    matMultiply(r, t, out);
    EXPECT_FLOAT_EQ(out[12], 1.0f);
    EXPECT_FLOAT_EQ(out[13], 2.0f);
    EXPECT_FLOAT_EQ(out[14], 3.0f);
    for (int i : {0, 1, 2, 4, 5, 6, 8, 9, 10})
        EXPECT_FLOAT_EQ(out[i], r[i]) << "element " << i;
}

TEST(MatMultiply, IdentityOnEitherSideReturnsTheOtherExactly) {
    Mat4 id, m, out;
    matIdentity(id);
    for (int i = 0; i < 16; i++)
        m[i] = 0.37f * i - 2.1f;
    matMultiply(id, m, out);
    EXPECT_EQ(0, memcmp(out, m, sizeof(Mat4)));
    matMultiply(m, id, out);
    EXPECT_EQ(0, memcmp(out, m, sizeof(Mat4)));
}

TEST(MatCopyAndIdentity, DestinationFirstAndExactOnes) {
    Mat4 src, dst;
    matIdentity(src);
    for (int i = 0; i < 16; i++)
        EXPECT_EQ(src[i], (i % 5 == 0) ? 1.0f : 0.0f);
    src[7] = 9.0f;
    matCopy(dst, src);
    EXPECT_EQ(0, memcmp(dst, src, sizeof(Mat4)));
}

TEST(VectorHelpers, LengthNormalizeSubtractAndCross) {
    EXPECT_FLOAT_EQ(vecLength({3, 4, 0}), 5.0f);

    Vec3f zero = {0, 0, 0};
    vecNormalize(zero);
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_EQ(zero.y, 0.0f);
    EXPECT_EQ(zero.z, 0.0f);

    Vec3f v = {3, 4, 0};
    vecNormalize(v);
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.y, 0.8f);

    // Second argument minus the first.
    Vec3f out;
    vecSubtractNormalized({1, 0, 0}, {1, 2, 0}, out);
    EXPECT_FLOAT_EQ(out.x, 0.0f);
    EXPECT_FLOAT_EQ(out.y, 1.0f);
    EXPECT_FLOAT_EQ(out.z, 0.0f);

    vecCross({1, 0, 0}, {0, 1, 0}, out);
    EXPECT_FLOAT_EQ(out.x, 0.0f);
    EXPECT_FLOAT_EQ(out.y, 0.0f);
    EXPECT_FLOAT_EQ(out.z, 1.0f);
    vecCross({0, 1, 0}, {0, 0, 1}, out);
    EXPECT_FLOAT_EQ(out.x, 1.0f);
    // Every component at once: (1, 2, 3) x (4, 5, 6) = (2*6 - 3*5, 3*4 - 1*6, 1*5 - 2*4).
    vecCross({1, 2, 3}, {4, 5, 6}, out);
    EXPECT_FLOAT_EQ(out.x, -3.0f);
    EXPECT_FLOAT_EQ(out.y, 6.0f);
    EXPECT_FLOAT_EQ(out.z, -3.0f);

    EXPECT_FLOAT_EQ(vecDot({1, 2, 3}, {4, -5, 6}), 12.0f);
}
