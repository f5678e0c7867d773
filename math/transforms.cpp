#include "math/transforms.h"

#include "math/angleTables.h"
#include "math/matrix.h"

Mat4 cameraMatrix; // world to eye
Mat4 lightMatrix;  // world to light eye

// ---- helpers ----
static int normalizeAngle(int angle);
static void buildAxisRotation(int axis, int angle, Mat4& out);
// inLocalFrame: target = target * R (objects); otherwise target = R * target (views).
static void applyTurns(Mat4& target, int ax, int ay, int az, bool inLocalFrame);

static int normalizeAngle(int angle) {
    if (angle < 0)
        angle += ANGLE_STEPS;
    // Not reduced modulo a turn: anything still out of range means no turn at all.
    if (angle < 0 || angle >= ANGLE_STEPS)
        angle = 0;
    return angle;
}

// axis 0, 1, 2 = x, y, z; angle already normalised.
static void buildAxisRotation(int axis, int angle, Mat4& out) {
    float c = cosTable[angle];
    float s = sinTable[angle];
    matIdentity(out);
    if (axis == 0) {
        out[5] = c;
        out[6] = s;
        out[9] = -s;
        out[10] = c;
    } else if (axis == 1) {
        out[0] = c;
        out[2] = -s;
        out[8] = s;
        out[10] = c;
    } else {
        out[0] = c;
        out[1] = s;
        out[4] = -s;
        out[5] = c;
    }
}

static void applyTurns(Mat4& target, int ax, int ay, int az, bool inLocalFrame) {
    int angles[3] = {normalizeAngle(ax), normalizeAngle(ay), normalizeAngle(az)};
    for (int axis = 0; axis < 3; axis++) {
        // A skipped axis leaves the matrix bit-for-bit unchanged.
        if (angles[axis] == 0)
            continue;
        Mat4 l_matrix, l_res;
        buildAxisRotation(axis, angles[axis], l_matrix);
        if (inLocalFrame)
            matMultiply(l_matrix, target, l_res);
        else
            matMultiply(target, l_matrix, l_res);
        matCopy(target, l_res);
    }
}

void cameraTranslate(float dx, float dy, float dz) {
    cameraMatrix[12] += dx;
    cameraMatrix[13] += dy;
    cameraMatrix[14] += dz;
}

void lightTranslate(float dx, float dy, float dz) {
    lightMatrix[12] += dx;
    lightMatrix[13] += dy;
    lightMatrix[14] += dz;
}

void cameraRotate(int ax, int ay, int az) {
    applyTurns(cameraMatrix, ax, ay, az, false);
}

void lightRotate(int ax, int ay, int az) {
    applyTurns(lightMatrix, ax, ay, az, false);
}

void objectSetPosition(Mat4& objectMatrix, float x, float y, float z) {
    objectMatrix[12] = x;
    objectMatrix[13] = y;
    objectMatrix[14] = z;
}

void objectMoveLocal(Mat4& objectMatrix, float dx, float dy, float dz) {
    Mat4 l_matrix, l_res;
    matIdentity(l_matrix);
    l_matrix[12] = dx;
    l_matrix[13] = dy;
    l_matrix[14] = dz;
    matMultiply(l_matrix, objectMatrix, l_res);
    matCopy(objectMatrix, l_res);
}

void objectRotate(Mat4& objectMatrix, int ax, int ay, int az) {
    applyTurns(objectMatrix, ax, ay, az, true);
}
