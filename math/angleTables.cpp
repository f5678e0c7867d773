#include "math/angleTables.h"

#include <cmath>

float sinTable[ANGLE_STEPS]; // sine of entry i * 3.1415 / 1800 radians
float cosTable[ANGLE_STEPS]; // cosine of the same angle

void buildAngleTables() {
    for (int i = 0; i < ANGLE_STEPS; i++) {
        // 3.1415 rather than full pi is intended: a full table spans 6.283 radians.
        double angle = i * 3.1415 / 1800;
        sinTable[i] = (float)sin(angle);
        cosTable[i] = (float)cos(angle);
    }
}
