#include "platform/web/pageModes.h"

#include <GL/glew.h>
#include <algorithm>
#include <emscripten.h>
#include <vector>

#include "app/replay.h"
#include "app/window.h"
#include "particles/particles.h"
#include "platform/web/glLayer.h"
#include "platform/web/webgl.h"
#include "render/renderPasses.h"
#include "tools/replay/shotCompare.h"

const int REPLAY_FRAMES_PER_SECOND = 25;
const int BENCH_WARMUP_FRAMES = 3;
const int BENCH_MEASURED_FRAMES = 31;

struct BenchFrame {
    double depth, lit, particles, total; // milliseconds
};

static std::vector<BenchFrame> benchFrames;
static int benchFrameCount;

// ---- helpers ----
static void sendShot(int second, int frame, void* context);
static void waitForGpu();
static void benchFrame();
static double median(std::vector<double> values);

// The frame as the replay tool keeps it: read before any swap (the batch drawn first), shrunk,
// bottom row last.
static void sendShot(int second, int, void*) {
    flushBatch();
    std::vector<unsigned char> rgba((size_t)windowWidth * windowHeight * 4);
    emscripten_glReadPixels(0, 0, windowWidth, windowHeight, GL_RGBA, GL_UNSIGNED_BYTE,
                            rgba.data());
    std::vector<unsigned char> rgb((size_t)windowWidth * windowHeight * 3);
    for (size_t i = 0, n = (size_t)windowWidth * windowHeight; i < n; i++)
        std::copy(&rgba[i * 4], &rgba[i * 4 + 3], &rgb[i * 3]);
    std::vector<unsigned char> shot;
    scaleDownShot(rgb.data(), windowWidth, windowHeight, SHOT_SCALE_DOWN, shot);
    EM_ASM({ Module.onShot($0, HEAPU8.slice($1, $1 + $4), $2, $3); }, second, shot.data(),
           windowWidth / SHOT_SCALE_DOWN, windowHeight / SHOT_SCALE_DOWN, shot.size());
}

// A one-pixel read waits for every command before it, as glFinish does on the desktop. It reads
// the canvas: the shadow target has no colour to read.
static void waitForGpu() {
    unsigned char pixel[4];
    flushBatch();
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, 0);
    emscripten_glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, layer.framebuffer);
}

static double median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// The frame's stages without the script, so the camera stays at the start view, as frameBench
// measures them.
static void benchFrame() {
    double start = emscripten_get_now();
    glClearColor(0.53f, 0.81f, 1.0f, 0.0f);
    renderDepthPass();
    waitForGpu();
    double depthEnd = emscripten_get_now();
    renderLitPass();
    waitForGpu();
    double litEnd = emscripten_get_now();
    glDepthMask(GL_FALSE);
    updateParticles();
    drawParticles();
    glDepthMask(GL_TRUE);
    waitForGpu();
    double end = emscripten_get_now();
    if (++benchFrameCount > BENCH_WARMUP_FRAMES)
        benchFrames.push_back({depthEnd - start, litEnd - depthEnd, end - litEnd, end - start});
    if ((int)benchFrames.size() < BENCH_MEASURED_FRAMES)
        return;
    stopFrameLoop();
    std::vector<double> stages[4];
    for (const BenchFrame& f : benchFrames) {
        stages[0].push_back(f.depth);
        stages[1].push_back(f.lit);
        stages[2].push_back(f.particles);
        stages[3].push_back(f.total);
    }
    EM_ASM({ Module.onBench($0, $1, $2, $3, $4); }, median(stages[3]), median(stages[0]),
           median(stages[1]), median(stages[2]), BENCH_MEASURED_FRAMES);
}

bool runPageMode() {
    int mode = EM_ASM_INT({
        return Module.pageMode == 'replay' ? 1 : Module.pageMode == 'bench' ? 2 : 0;
    });
    if (mode == 1) {
        beginReplay();
        replayScript(ReplayPace{REPLAY_FRAMES_PER_SECOND, 0}, REPLAY_LAST_SECOND, false, sendShot,
                     nullptr);
        endReplay();
        EM_ASM(Module.onReplayDone());
        return true;
    }
    if (mode == 2) {
        emscripten_set_main_loop(benchFrame, 0, 1);
        return true;
    }
    return false;
}
