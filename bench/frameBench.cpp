// Frame time of the real scene at a fixed camera, split by stage (glFinish between stages), and
// the time from start to the first presented frame. The same frames are rendered again with the
// shadow lookup compiled out; the ratio of the two lit passes is the shadow program's cost.
// Needs a display (Xvfb). With "--screenshots DIR" it writes DIR/shadowed-scene.png, a view of
// the shadows, instead of measuring.
#include <GL/glew.h>
#include <GL/freeglut.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include <stb_image_write.h>

#include "app/sceneInit.h"
#include "app/window.h"
#include "math/matrix.h"
#include "math/transforms.h"
#include "particles/particles.h"
#include "render/renderPasses.h"
#include "render/shaderLoading.h"
#include "render/unshadowedProgram.h"
#include "scene/sceneStore.h"

typedef std::chrono::steady_clock Clock;

static const int WARMUP_FRAMES = 3;
static const int MEASURED_FRAMES = 61;

struct StageTimes {
    double depth, lit, particles, swap, total; // milliseconds
};

// ---- helpers ----
static double millisecondsSince(Clock::time_point start);
static StageTimes renderTimedFrame();
static double medianOf(std::vector<double> values);
static StageTimes medianOf(std::vector<StageTimes> frames);
static void printTimes(const char* label, const StageTimes& t);
static void openWindow(int argc, char** argv);
static void placeShadowViewCamera();
static void savePng(const std::string& path);

static double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The frame's own stages, without the script, so the camera stays where it is.
static StageTimes renderTimedFrame() {
    StageTimes t;
    Clock::time_point start = Clock::now();
    glClearColor(0.53f, 0.81f, 1.0f, 0.0f);
    renderDepthPass();
    glFinish();
    t.depth = millisecondsSince(start);
    Clock::time_point stage = Clock::now();
    renderLitPass();
    glFinish();
    t.lit = millisecondsSince(stage);
    stage = Clock::now();
    glDepthMask(GL_FALSE);
    updateParticles();
    drawParticles();
    glDepthMask(GL_TRUE);
    glFinish();
    t.particles = millisecondsSince(stage);
    stage = Clock::now();
    glutSwapBuffers();
    glFinish();
    t.swap = millisecondsSince(stage);
    t.total = millisecondsSince(start);
    return t;
}

static double medianOf(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// Median of each stage on its own.
static StageTimes medianOf(std::vector<StageTimes> frames) {
    double StageTimes::*fields[] = {&StageTimes::depth, &StageTimes::lit, &StageTimes::particles,
                                    &StageTimes::swap, &StageTimes::total};
    StageTimes result;
    for (double StageTimes::*field : fields) {
        std::vector<double> values;
        for (const StageTimes& f : frames)
            values.push_back(f.*field);
        result.*field = medianOf(values);
    }
    return result;
}

static void printTimes(const char* label, const StageTimes& t) {
    printf("%-22s frame %7.2f ms = depth %6.2f + lit %6.2f + particles %6.2f + swap %5.2f\n", label,
           t.total, t.depth, t.lit, t.particles, t.swap);
}

static void openWindow(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_ALPHA | GLUT_DEPTH);
    glutInitWindowSize(windowWidth, windowHeight);
    glutInitWindowPosition(0, 0);
    glutCreateWindow("Kalvren: Dust Riders Demo");
    glutDisplayFunc([] {});
}

// Behind and above the opening view, looking down on the figures, the rake and the cactus.
static void placeShadowViewCamera() {
    cameraTranslate(-10.0f, -18.0f, -30.0f);
    cameraRotate(120, 0, 0);
}

static void savePng(const std::string& path) {
    int w = windowWidth, h = windowHeight;
    std::vector<unsigned char> pixels((size_t)w * h * 3), flipped(pixels.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    for (int y = 0; y < h; y++)
        memcpy(&flipped[(size_t)y * w * 3], &pixels[(size_t)(h - 1 - y) * w * 3], (size_t)w * 3);
    if (!stbi_write_png(path.c_str(), w, h, 3, flipped.data(), w * 3))
        fprintf(stderr, "frameBench: cannot write %s\n", path.c_str());
}

int main(int argc, char** argv) {
    Clock::time_point processStart = Clock::now();
    std::string screenshotDir = argc == 3 && strcmp(argv[1], "--screenshots") == 0 ? argv[2] : "";
    if (chdir(DUSTRIDERS_RUN_DIR) != 0) {
        fprintf(stderr, "frameBench: cannot enter %s\n", DUSTRIDERS_RUN_DIR);
        return 1;
    }
    int glutArgc = 1;
    openWindow(glutArgc, argv);
    initScene();
    double loaded = millisecondsSince(processStart);
    StageTimes first = renderTimedFrame();
    double firstFrame = millisecondsSince(processStart);

    if (!screenshotDir.empty()) {
        placeShadowViewCamera();
        glClearColor(0.53f, 0.81f, 1.0f, 0.0f);
        renderDepthPass();
        renderLitPass();
        savePng(screenshotDir + "/shadowed-scene.png");
        return 0;
    }

    int triangles = 0;
    for (int i = 0; i < objectCount; i++)
        triangles += sceneObjects[i].polygonCount;
    printf("scene: %d objects, %d triangles, window %d x %d, shadow map %d x %d\n", objectCount,
           triangles, windowWidth, windowHeight, 4 * windowWidth, 4 * windowHeight);
    printf("start to first frame: %.1f ms (window and scene %.1f ms, first frame %.1f ms)\n",
           firstFrame, loaded, first.total);

    // Frame by frame in turn, so that load from elsewhere on the machine hits both alike.
    std::vector<StageTimes> shadowed, unshadowed;
    std::vector<double> litRatios;
    GLhandleARB shadow = shadowProgram, plain = buildUnshadowedProgram();
    int shadowUniform = shadowMapUniform;
    for (int frame = 0; frame < WARMUP_FRAMES + MEASURED_FRAMES; frame++) {
        shadowProgram = shadow;
        shadowMapUniform = shadowUniform;
        StageTimes withShadows = renderTimedFrame();
        shadowProgram = plain;
        shadowMapUniform = -1;
        StageTimes without = renderTimedFrame();
        if (frame >= WARMUP_FRAMES) {
            shadowed.push_back(withShadows);
            unshadowed.push_back(without);
            litRatios.push_back(withShadows.lit / without.lit);
        }
    }
    StageTimes a = medianOf(shadowed), b = medianOf(unshadowed);
    printf("medians of %d frames each, taken in turn:\n", MEASURED_FRAMES);
    printTimes("shadow program", a);
    printTimes("without shadow lookup", b);
    printf("lit pass ratio (shadow / without): %.2f of the medians, %.2f median of frame pairs\n",
           a.lit / b.lit, medianOf(litRatios));
    printf("frame ratio (shadow / without):    %.2f\n", a.total / b.total);
    return 0;
}
