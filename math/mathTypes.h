#pragma once
// Conventions every caller relies on:
// - Mat4 is 16 floats in column-major order, as glLoadMatrixf takes it; elements 12, 13, 14 hold
//   the translation.
// - matMultiply(a, b, out) computes out[i*4+j] = sum_k a[i*4+k] * b[k*4+j]; read column-major
//   that is out = b * a: a is applied to a point first, then b.
// - Angles are ints in tenths of a degree (3600 to a full turn); a negative angle gets 3600
//   added once, and an angle still outside 0..3599 means no turn. Turns are right-handed.

struct Vec3f {
    float x, y, z;
};

struct TexCoord2f {
    float u, v;
};

struct Triangle {
    int a, b, c;
};

typedef float Mat4[16];
