// What the page's checks read of the demo (web build only): the camera, every object's matrix,
// the selection, the polygon mode, the window size, the edge zones, the drag's anchor and the
// script's second, as
// one JSON text. The checks hold it against the same input run through the desktop callbacks.
#include <cstdio>
#include <emscripten.h>

#include "app/pointerInput.h"
#include "app/sceneInit.h"
#include "app/window.h"
#include "demo/choreography.h"
#include "math/transforms.h"
#include "scene/sceneStore.h"

static char stateText[64 * 1024];

// ---- helpers ----
static int writeMatrix(const float* m, char* out, int room);

static int writeMatrix(const float* m, char* out, int room) {
    int used = 0;
    for (int i = 0; i < 16 && used < room; i++)
        used += snprintf(out + used, room - used, "%s%.9g", i ? "," : "[", m[i]);
    if (used < room)
        used += snprintf(out + used, room - used, "]");
    return used;
}

extern "C" EMSCRIPTEN_KEEPALIVE const char* webState() {
    int room = (int)sizeof stateText, used = 0;
    char* out = stateText;
    used += snprintf(out, room, "{\"camera\":");
    used += writeMatrix(cameraMatrix, out + used, room - used);
    used += snprintf(out + used, room - used, ",\"objects\":[");
    for (int i = 0; i < objectCount && used < room; i++) {
        used += snprintf(out + used, room - used, "%s", i ? "," : "");
        used += writeMatrix(sceneObjects[i].matrix, out + used, room - used);
    }
    if (used < room)
        snprintf(out + used, room - used,
                 "],\"selected\":%d,\"wireframeOff\":%d,\"width\":%d,\"height\":%d,"
                 "\"edges\":[%d,%d,%d,%d],\"dragAnchor\":[%d,%d],\"elapsedSeconds\":%d}",
                 selectedObject, wireframeOff, windowWidth, windowHeight, edgeScrollLeft,
                 edgeScrollRight, edgeScrollUp, edgeScrollDown, dragAnchorX, dragAnchorY,
                 elapsedSeconds);
    return stateText;
}
