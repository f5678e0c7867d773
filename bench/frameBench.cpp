// Frame time of the real scene at a fixed camera, split by stage (glFinish between stages), and
// the time from start to the first presented frame. The same frames are rendered again with the
// shadow lookup compiled out; the ratio of the two lit passes is the shadow program's cost. Then
// the sand's cost: at three views, frames with the whole desert in turn with frames whose desert
// is cut back to its fine grid (the extent the sand had before it ran to the horizon).
// Needs a display (Xvfb). With "--screenshots DIR" it writes DIR/shadowed-scene.png, a view of
// the shadows, instead of measuring.
#include <GL/glew.h>
#include <GL/freeglut.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <ctime>
#include <unistd.h>
#include <vector>

#include <stb_image_write.h>

#include "app/sceneInit.h"
#include "demo/choreography.h"
#include "app/window.h"
#include "math/matrix.h"
#include "math/transforms.h"
#include "particles/particles.h"
#include "render/frame.h"
#include "render/renderPasses.h"
#include "render/shaderLoading.h"
#include "render/unshadowedProgram.h"
#include "scene/sceneStore.h"

typedef std::chrono::steady_clock Clock;

static const int WARMUP_FRAMES = 3;
static const int MEASURED_FRAMES = 61;

struct StageTimes {
    double depth, lit, particles, swap, total; // milliseconds
    // Processor time of the whole process over the frame (the software rasteriser's threads
    // included), milliseconds: less moved than wall time by other load on the machine.
    double processor;
    // Page faults of the whole process over the frame (its threads included): pages the software
    // rasteriser takes from the kernel anew. The page's bench sets the browser's GPU process
    // against them.
    double faults;
};

// Where the desert's fine grid lies, in world x and z; the rings lie outside it.
const float GRID_MIN_X = -300, GRID_MAX_X = 350, GRID_MIN_Z = -350, GRID_MAX_Z = 150;

struct BenchView {
    const char* name;
    void (*place)();
};

// ---- helpers ----
static double millisecondsSince(Clock::time_point start);
static double processorMilliseconds();
static double pageFaults();
static StageTimes renderTimedFrame();
static double medianOf(std::vector<double> values);
static double meanOf(const std::vector<double>& values);
static StageTimes medianOf(std::vector<StageTimes> frames);
static void printTimes(const char* label, const StageTimes& t);
static void openWindow(int argc, char** argv);
static void placeShadowViewCamera();
static void placeStartCamera();
static void placeRestingCamera();
static void placeFarCamera();
static int moveGridTrianglesFirst(SceneObject& desert);
static void compareDeserts(const BenchView& view, int gridTriangles);
static void savePng(const std::string& path);

static double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

static double processorMilliseconds() {
    timespec now;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

static double pageFaults() {
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return (double)(usage.ru_minflt + usage.ru_majflt);
}

// The frame's own stages, without the script, so the camera stays where it is.
static StageTimes renderTimedFrame() {
    StageTimes t;
    double processorStart = processorMilliseconds();
    double faultsBefore = pageFaults();
    Clock::time_point start = Clock::now();
    beginFrame();
    renderDepthPass();
    glFinish();
    t.depth = millisecondsSince(start);
    Clock::time_point stage = Clock::now();
    renderLitPass();
    glFinish();
    t.lit = millisecondsSince(stage);
    stage = Clock::now();
    updateParticles();
    drawParticlePass();
    glFinish();
    t.particles = millisecondsSince(stage);
    stage = Clock::now();
    glutSwapBuffers();
    glFinish();
    t.swap = millisecondsSince(stage);
    t.total = millisecondsSince(start);
    t.processor = processorMilliseconds() - processorStart;
    t.faults = pageFaults() - faultsBefore;
    return t;
}

static double medianOf(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

static double meanOf(const std::vector<double>& values) {
    double sum = 0;
    for (double v : values)
        sum += v;
    return sum / values.size();
}

// Median of each stage on its own. Page faults come rarely and in bursts, so their median is
// mostly 0: their mean is what a frame costs.
static StageTimes medianOf(std::vector<StageTimes> frames) {
    double StageTimes::*fields[] = {&StageTimes::depth, &StageTimes::lit,   &StageTimes::particles,
                                    &StageTimes::swap,  &StageTimes::total, &StageTimes::processor,
                                    &StageTimes::faults};
    StageTimes result;
    for (double StageTimes::*field : fields) {
        std::vector<double> values;
        for (const StageTimes& f : frames)
            values.push_back(f.*field);
        result.*field = field == &StageTimes::faults ? meanOf(values) : medianOf(values);
    }
    return result;
}

static void printTimes(const char* label, const StageTimes& t) {
    printf("%-22s frame %7.2f ms = depth %6.2f + lit %6.2f + particles %6.2f + swap %5.2f; "
           "processor %7.2f ms; page faults %.0f\n",
           label, t.total, t.depth, t.lit, t.particles, t.swap, t.processor, t.faults);
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

static Mat4 startCamera;

static void placeStartCamera() {
    matCopy(cameraMatrix, startCamera);
}

// The view the script rests on when it ran at 30 frames per second: eye (60, 20, 75) looking
// along +x, past the edge of the fine grid.
static void placeRestingCamera() {
    memset(phaseSetupDone, 0, sizeof phaseSetupDone);
    for (int frame = 20 * 30; frame < 24 * 30; frame++) {
        elapsedSeconds = frame / 30;
        runChoreography();
    }
}

// From there 2,000 wheel notches back: the fine grid is a strip at the horizon.
static void placeFarCamera() {
    placeRestingCamera();
    cameraTranslate(0, 0, -2000);
}

// Puts the triangles that lie on the fine grid ahead of the rings; their count.
static int moveGridTrianglesFirst(SceneObject& desert) {
    auto onGrid = [&](const Triangle& t) {
        for (int k : {t.a, t.b, t.c}) {
            const Vec3f& v = desert.vertices[k];
            const Mat4& m = desert.matrix;
            float x = m[0] * v.x + m[4] * v.y + m[8] * v.z + m[12];
            float z = m[2] * v.x + m[6] * v.y + m[10] * v.z + m[14];
            if (x < GRID_MIN_X - 1 || x > GRID_MAX_X + 1 || z < GRID_MIN_Z - 1 ||
                z > GRID_MAX_Z + 1)
                return false;
        }
        return true;
    };
    Triangle* end = desert.polygons + desert.polygonCount;
    return (int)(std::stable_partition(desert.polygons, end, onGrid) - desert.polygons);
}

// Whole desert and grid only, frame by frame in turn.
static void compareDeserts(const BenchView& view, int gridTriangles) {
    SceneObject& desert = sceneObjects[0];
    int allTriangles = desert.polygonCount;
    view.place();
    std::vector<StageTimes> whole, grid;
    std::vector<double> frameRatios, processorRatios;
    for (int frame = 0; frame < WARMUP_FRAMES + MEASURED_FRAMES; frame++) {
        desert.polygonCount = allTriangles;
        StageTimes withRings = renderTimedFrame();
        desert.polygonCount = gridTriangles;
        StageTimes without = renderTimedFrame();
        if (frame >= WARMUP_FRAMES) {
            whole.push_back(withRings);
            grid.push_back(without);
            frameRatios.push_back(withRings.total / without.total);
            processorRatios.push_back(withRings.processor / without.processor);
        }
    }
    desert.polygonCount = allTriangles;
    StageTimes a = medianOf(whole), b = medianOf(grid);
    printf("%s:\n", view.name);
    printTimes("  desert to horizon", a);
    printTimes("  fine grid only", b);
    printf("  frame ratio (horizon / grid): %.3f of the medians, %.3f median of frame pairs\n",
           a.total / b.total, medianOf(frameRatios));
    printf("  processor time ratio:         %.3f of the medians, %.3f median of frame pairs\n",
           a.processor / b.processor, medianOf(processorRatios));
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
    matCopy(startCamera, cameraMatrix);
    StageTimes first = renderTimedFrame();
    double firstFrame = millisecondsSince(processStart);

    if (!screenshotDir.empty()) {
        placeShadowViewCamera();
        beginFrame();
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
    printf("renderer: %s\n", (const char*)glGetString(GL_RENDERER));

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

    shadowProgram = shadow;
    shadowMapUniform = shadowUniform;
    int gridTriangles = moveGridTrianglesFirst(sceneObjects[0]);
    printf("desert: %d triangles, %d on the fine grid, %d in the rings; medians of %d frames each, "
           "taken in turn:\n",
           sceneObjects[0].polygonCount, gridTriangles,
           sceneObjects[0].polygonCount - gridTriangles, MEASURED_FRAMES);
    const BenchView views[] = {
        {"start camera", placeStartCamera},
        {"view the script rests on (at 30 frames per second)", placeRestingCamera},
        {"2,000 units back from it", placeFarCamera},
    };
    for (const BenchView& view : views)
        compareDeserts(view, gridTriangles);
    return 0;
}
