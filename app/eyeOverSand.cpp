#include "app/eyeOverSand.h"

#include <cmath>

#include "app/window.h"
#include "math/matrix.h"
#include "math/transforms.h"
#include "render/renderPasses.h"
#include "scene/groundHeight.h"

void keepEyeOverSand() {
    Mat4& m = cameraMatrix;
    Vec3f eye = eyeOfView(m);
    // The view's turn R is orthonormal: the camera's right, up and back axes are its rows.
    float halfHeight = (float)(NEAR_PLANE * tan(FIELD_OF_VIEW * M_PI / 360));
    float halfWidth = halfHeight * (float)frameAspect(windowWidth, windowHeight);
    float centre[3], across[3], upward[3];
    const float eyeAt[3] = {eye.x, eye.y, eye.z};
    for (int i = 0; i < 3; i++) {
        centre[i] = eyeAt[i] - (float)NEAR_PLANE * m[4 * i + 2];
        across[i] = halfWidth * m[4 * i];
        upward[i] = halfHeight * m[4 * i + 1];
    }
    float lift = fmaxf(groundHeightAt(eye.x, eye.z) + EYE_CLEARANCE - eye.y,
                       groundRiseOver(centre, across, upward) + EYE_CLEARANCE);
    // Moving the eye up by lift in the world moves the view's translation by -R (0, lift, 0).
    if (lift > 0)
        for (int i = 0; i < 3; i++)
            m[12 + i] -= lift * m[4 + i];
}
