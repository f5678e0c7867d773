#pragma once
#include <cmath>

#include "math/mathTypes.h"

inline float vecLength(const Vec3f& v) {
    float sum = v.x * v.x + v.y * v.y + v.z * v.z;
    return (float)sqrt((double)sum);
}

// A zero vector stays zero.
inline void vecNormalize(Vec3f& v) {
    float len = vecLength(v);
    if (len == 0.0f)
        len = 1.0f;
    v.x /= len;
    v.y /= len;
    v.z /= len;
}

// out = normalize(b - a): the second argument minus the first.
inline void vecSubtractNormalized(const Vec3f& a, const Vec3f& b, Vec3f& out) {
    out.x = b.x - a.x;
    out.y = b.y - a.y;
    out.z = b.z - a.z;
    vecNormalize(out);
}

// out = a x b, right-handed; out must not alias a or b.
inline void vecCross(const Vec3f& a, const Vec3f& b, Vec3f& out) {
    out.x = a.y * b.z - a.z * b.y;
    out.y = a.z * b.x - a.x * b.z;
    out.z = a.x * b.y - a.y * b.x;
}

inline float vecDot(const Vec3f& a, const Vec3f& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
