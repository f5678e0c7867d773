#pragma once
#include "math/mathTypes.h"

void matIdentity(Mat4& m);
// Destination first, unlike every other operation.
void matCopy(Mat4& dst, const Mat4& src);
// out = b * a in column-major terms; out must not alias a or b.
void matMultiply(const Mat4& a, const Mat4& b, Mat4& out);
// Eye position in world space of a view matrix made of turns and moves only.
Vec3f eyeOfView(const Mat4 view);
