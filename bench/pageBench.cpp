#include "pageBench.h"

#include <GL/glew.h>
#include <algorithm>
#include <emscripten.h>
#include <vector>

#include "particles/particles.h"
#include "render/frame.h"
#include "render/renderPasses.h"

const int BENCH_WARMUP_FRAMES = 3;
const int BENCH_MEASURED_FRAMES = 31;
const double IDLE_ROUND_TRIP_MS = 1.0; // a read that waits for nothing comes back in 0.1 to 0.4 ms
const int MOST_IDLE_READS = 8;

struct BenchFrame {
    double depth, lit, particles, total; // milliseconds
};

static std::vector<BenchFrame> benchFrames;
static int benchFrameCount;

// ---- helpers ----
static void benchFrame();
static void waitUntilGpuIdle();
static void reportMedians();
static double median(std::vector<double> values);

static double median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

static void reportMedians() {
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

// The browser draws and shows our last frame in the GPU process after the frame's callback has
// returned, and a read may come back before that work has begun: reads are repeated until one
// comes back at once.
static void waitUntilGpuIdle() {
    for (int i = 0; i < MOST_IDLE_READS; i++) {
        double start = emscripten_get_now();
        glFinish();
        if (emscripten_get_now() - start < IDLE_ROUND_TRIP_MS)
            return;
    }
}

// No script: the camera stays at the start view, as frameBench measures it. The browser's work
// of showing the last frame counts in the frame (as the desktop's swap does) but in no pass.
static void benchFrame() {
    double start = emscripten_get_now();
    waitUntilGpuIdle();
    double shown = emscripten_get_now();
    beginFrame();
    renderDepthPass();
    glFinish();
    double depthEnd = emscripten_get_now();
    renderLitPass();
    glFinish();
    double litEnd = emscripten_get_now();
    updateParticles();
    drawParticlePass();
    glFinish();
    double end = emscripten_get_now();
    if (++benchFrameCount > BENCH_WARMUP_FRAMES)
        benchFrames.push_back({depthEnd - shown, litEnd - depthEnd, end - litEnd, end - start});
    if ((int)benchFrames.size() < BENCH_MEASURED_FRAMES)
        return;
    emscripten_cancel_main_loop();
    reportMedians();
}

void runPageBench() {
    emscripten_set_main_loop(benchFrame, 0, 1);
}
