#include "cameraPath.h"

#include <cstdio>
#include <cstring>

#include "demo/choreography.h"
#include "math/matrix.h"
#include "math/transforms.h"
#include "scene/sceneStore.h"

// The file and what each frame of the path starts from.
struct PathWriter {
    FILE* file;
    Mat4 before[MAX_OBJECTS];
    bool setupBefore[PHASE_SETUP_COUNT];
};

// ---- helpers ----
static void writeRow(FILE* file, int frame, int second, const Mat4* before,
                     const bool* setupBefore);
static void stepAndWriteRow(int second, int inSecond, int frames, int frame, void* context);

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

static void stepAndWriteRow(int second, int, int, int frame, void* context) {
    PathWriter& writer = *(PathWriter*)context;
    for (int k = 0; k < objectCount; k++)
        memcpy(writer.before[k], sceneObjects[k].matrix, sizeof(Mat4));
    memcpy(writer.setupBefore, phaseSetupDone, sizeof writer.setupBefore);
    replayFrame(second, false);
    writeRow(writer.file, frame, second, writer.before, writer.setupBefore);
}

bool writeCameraPath(const char* path, const ReplayPace& pace, int lastSecond) {
    FILE* file = fopen(path, "w");
    if (!file) {
        fprintf(stderr, "replay: cannot write %s\n", path);
        return false;
    }
    fprintf(file, "frame,second,eyeX,eyeY,eyeZ,setup,moved\n");
    static PathWriter writer; // 6 kB of matrices
    writer.file = file;
    playPace(pace, lastSecond, stepAndWriteRow, &writer);
    return fclose(file) == 0;
}
