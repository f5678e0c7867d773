// The GL layer's counts for the page's scripts (Module._layerBytesUploaded() and
// Module._layerDrawCalls()): the benchmark reads them around each animation frame.
#include <emscripten.h>

#include "platform/web/glLayer.h"

extern "C" EMSCRIPTEN_KEEPALIVE double layerBytesUploaded() {
    return layerCounts.bytesUploaded;
}

extern "C" EMSCRIPTEN_KEEPALIVE int layerDrawCalls() {
    return layerCounts.drawCalls;
}
