#include "math/matrix.h"

void matIdentity(Mat4& m) {
    for (int i = 0; i < 16; i++)
        m[i] = 0.0f;
    m[0] = m[5] = m[10] = m[15] = 1.0f;
}

void matCopy(Mat4& dst, const Mat4& src) {
    for (int i = 0; i < 16; i++)
        dst[i] = src[i];
}

void matMultiply(const Mat4& a, const Mat4& b, Mat4& out) {
    for (int i = 0; i < 4; i++) {
        for (int j = 0; j < 4; j++) {
            float sum = 0.0f;
            for (int k = 0; k < 4; k++)
                sum += a[i * 4 + k] * b[k * 4 + j];
            out[i * 4 + j] = sum;
        }
    }
}

Vec3f eyeOfView(const Mat4 view) {
    // view = [R t] maps world to eye; the eye sits where R * p + t = 0, at p = -transpose(R) t.
    const float* t = view + 12;
    Vec3f eye;
    eye.x = -(view[0] * t[0] + view[1] * t[1] + view[2] * t[2]);
    eye.y = -(view[4] * t[0] + view[5] * t[1] + view[6] * t[2]);
    eye.z = -(view[8] * t[0] + view[9] * t[1] + view[10] * t[2]);
    return eye;
}
