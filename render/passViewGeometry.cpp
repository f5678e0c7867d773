#include "render/passViewGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "scene/sceneState.h"
#include "render/frameSize.h"
#include "math/transforms.h"
#include "render/renderPasses.h"
#include "scene/sceneStore.h"

static const double PI = 3.14159265358979323846;

// ---- helpers ----
static void lightProjection(double out[16]);

// As renderDepthPass loads it: the frame's own perspective.
static void lightProjection(double out[16]) {
    double aspect = frameAspect(windowWidth, windowHeight);
    double f = 1.0 / std::tan(FIELD_OF_VIEW * PI / 360.0);
    for (int i = 0; i < 16; i++)
        out[i] = 0.0;
    out[0] = f / aspect;
    out[5] = f;
    out[10] = (FAR_PLANE + NEAR_PLANE) / (NEAR_PLANE - FAR_PLANE);
    out[11] = -1.0;
    out[14] = 2.0 * FAR_PLANE * NEAR_PLANE / (NEAR_PLANE - FAR_PLANE);
}

bool depthViewPoint(const float world[3], double out[2]) {
    double eye[4], clip[4], projection[16];
    for (int row = 0; row < 4; row++)
        eye[row] = lightMatrix[row] * world[0] + lightMatrix[4 + row] * world[1] +
                   lightMatrix[8 + row] * world[2] + lightMatrix[12 + row];
    lightProjection(projection);
    for (int row = 0; row < 4; row++)
        clip[row] = projection[row] * eye[0] + projection[4 + row] * eye[1] +
                    projection[8 + row] * eye[2] + projection[12 + row] * eye[3];
    if (clip[3] <= 0.0)
        return false;
    out[0] = (clip[0] / clip[3] * 0.5 + 0.5) * windowWidth;
    out[1] = (clip[1] / clip[3] * 0.5 + 0.5) * windowHeight;
    return true;
}

bool cameraFootprint(double out[5][2]) {
    double view[16], inverse[16];
    for (int i = 0; i < 16; i++)
        view[i] = cameraMatrix[i];
    if (!invertMatrix(view, inverse))
        return false;
    double up = FOOTPRINT_DISTANCE * std::tan(FIELD_OF_VIEW * PI / 360.0);
    double side = up * frameAspect(windowWidth, windowHeight);
    const double corners[5][3] = {{0, 0, 0},
                                  {-side, -up, -FOOTPRINT_DISTANCE},
                                  {side, -up, -FOOTPRINT_DISTANCE},
                                  {side, up, -FOOTPRINT_DISTANCE},
                                  {-side, up, -FOOTPRINT_DISTANCE}};
    for (int k = 0; k < 5; k++) {
        float world[3];
        for (int row = 0; row < 3; row++)
            world[row] = (float)(inverse[row] * corners[k][0] + inverse[4 + row] * corners[k][1] +
                                 inverse[8 + row] * corners[k][2] + inverse[12 + row]);
        if (!depthViewPoint(world, out[k]))
            return false;
    }
    return true;
}

void cropCorner(double centreX, double centreY, int windowW, int windowH, int& x, int& y) {
    x = (int)std::lround(centreX) - CROP_WIDTH / 2;
    y = (int)std::lround(centreY) - CROP_HEIGHT / 2;
    x = std::max(0, std::min(x, windowW - CROP_WIDTH));
    y = std::max(0, std::min(y, windowH - CROP_HEIGHT));
}

bool windowPoint(const float world[3], double out[2]) {
    double eye[4];
    for (int row = 0; row < 4; row++)
        eye[row] = cameraMatrix[row] * world[0] + cameraMatrix[4 + row] * world[1] +
                   cameraMatrix[8 + row] * world[2] + cameraMatrix[12 + row];
    if (eye[2] >= 0.0)
        return false;
    double f = 1.0 / std::tan(FIELD_OF_VIEW * PI / 360.0);
    double aspect = frameAspect(windowWidth, windowHeight);
    out[0] = (f / aspect * eye[0] / -eye[2] * 0.5 + 0.5) * windowWidth;
    out[1] = (f * eye[1] / -eye[2] * 0.5 + 0.5) * windowHeight;
    return true;
}

void stripCrop(const float feet[3], int& x, int& y) {
    double centre[2] = {windowWidth / 2.0, windowHeight / 2.0};
    windowPoint(feet, centre);
    cropCorner(centre[0], centre[1], windowWidth, windowHeight, x, y);
}
