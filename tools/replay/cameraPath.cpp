#include "cameraPath.h"

#include <cstdio>
#include <cstring>

#include "demo/choreography.h"
#include "math/matrix.h"
#include "math/transforms.h"
#include "scene/sceneStore.h"

// ---- helpers ----
static void writeRow(FILE* file, int frame, int second, const Mat4* before,
                     const bool* setupBefore);

static void writeRow(FILE* file, int frame, int second, const Mat4* before,
                     const bool* setupBefore) {
    Vec3f eye = eyeOfView(cameraMatrix);
    fprintf(file, "%d,%d,%.3f,%.3f,%.3f,", frame, second, eye.x, eye.y, eye.z);
    for (int i = 0; i < PHASE_SETUP_COUNT; i++) {
        if (phaseSetupDone[i] && !setupBefore[i])
            fprintf(file, "%d", i);
    }
    fputc(',', file);
    const char* separator = "";
    for (int i = 0; i < objectCount; i++) {
        if (memcmp(before[i], sceneObjects[i].matrix, sizeof(Mat4)) != 0) {
            fprintf(file, "%s%s", separator, sceneObjects[i].name);
            separator = " ";
        }
    }
    fputc('\n', file);
}

bool writeCameraPath(const char* path, const ReplayPace& pace, int lastSecond) {
    FILE* file = fopen(path, "w");
    if (!file) {
        fprintf(stderr, "replay: cannot write %s\n", path);
        return false;
    }
    fprintf(file, "frame,second,eyeX,eyeY,eyeZ,setup,moved\n");
    static Mat4 before[MAX_OBJECTS];
    bool setupBefore[PHASE_SETUP_COUNT];
    int frame = 0;
    for (int second = 0; second <= lastSecond; second++) {
        int frames = framesInSecond(pace, second);
        for (int i = 0; i < frames; i++, frame++) {
            for (int k = 0; k < objectCount; k++)
                memcpy(before[k], sceneObjects[k].matrix, sizeof(Mat4));
            memcpy(setupBefore, phaseSetupDone, sizeof setupBefore);
            replayFrame(second, false);
            writeRow(file, frame, second, before, setupBefore);
        }
    }
    return fclose(file) == 0;
}
