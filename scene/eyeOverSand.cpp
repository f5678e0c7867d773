#include "scene/eyeOverSand.h"

#include <cmath>

#include "app/window.h"
#include "math/transforms.h"
#include "render/renderPasses.h"
#include "scene/groundHeight.h"

void keepEyeOverSand() {
    Mat4& m = cameraMatrix;
    // The view's turn R is orthonormal: the eye is -R^T t, the camera's axes are R's rows.
    float eye[3], right[3], up[3], back[3];
    for (int i = 0; i < 3; i++) {
        eye[i] = -(m[4 * i] * m[12] + m[4 * i + 1] * m[13] + m[4 * i + 2] * m[14]);
        right[i] = m[4 * i];
        up[i] = m[4 * i + 1];
        back[i] = m[4 * i + 2];
    }
    float halfHeight = (float)(NEAR_PLANE * tan(FIELD_OF_VIEW * M_PI / 360));
    float halfWidth = halfHeight * (float)frameAspect(windowWidth, windowHeight);
    // The eye, then the near plane's corners, edge middles and centre: the sand's facets are
    // wider than the plane, so no ridge rises between these points by more than the clearance.
    float lift = 0;
    for (int sample = -1; sample < 9; sample++) {
        float across = sample < 0 ? 0 : (float)(sample % 3 - 1) * halfWidth;
        float upward = sample < 0 ? 0 : (float)(sample / 3 - 1) * halfHeight;
        float ahead = sample < 0 ? 0 : (float)NEAR_PLANE;
        float p[3];
        for (int i = 0; i < 3; i++)
            p[i] = eye[i] + across * right[i] + upward * up[i] - ahead * back[i];
        lift = fmaxf(lift, groundHeightAt(p[0], p[2]) + EYE_CLEARANCE - p[1]);
    }
    // Moving the eye up by lift in the world moves the view's translation by -R (0, lift, 0).
    if (lift > 0)
        for (int i = 0; i < 3; i++)
            m[12 + i] -= lift * m[4 + i];
}
