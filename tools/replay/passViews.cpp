#include "passViews.h"

#include <GL/glew.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "app/sceneInit.h"
#include "app/stripCrop.h"
#include "app/window.h"
#include "math/transforms.h"
#include "render/passViews.h"
#include "render/renderPasses.h"
#include "scene/sceneStore.h"

#include "shotCompare.h"

#include <stb_image.h>
#include <stb_image_write.h>

const char* const PASS_VIEW_NAMES[PASS_VIEW_COUNT] = {
    "pass-1-depth.png",      "pass-2-unshadowed.png", "pass-3-shadowed.png", "pass-4-frame.png",
    "pass-5-difference.png", "bias-strip.png",        "pcf-strip.png"};

// The strips' settings, left to right.
static const ShadowSetting BIAS_STRIP[] = {{0.0, false}, SHIPPED_SHADOWS, {4.0, false}};
static const ShadowSetting PCF_STRIP[] = {{1.0, true}, SHIPPED_SHADOWS};
// What the labelled depth map names: the models by their scene list file, and the eye.
struct DepthLabel {
    const char* modelPath;
    const char* label;
};
static const DepthLabel DEPTH_LABELS[] = {{"res/Girl.3ds", "girl"},  {"res/rechen.3ds", "rake"},
                                          {"res/Held.3ds", "rider"}, {"res/lira.3ds", "lyre"},
                                          {"res/haus.3ds", "house"}, {"res/Guy.3ds", "guy"}};

// ---- helpers ----
static bool shadowedWith(const ShadowSetting& setting, std::vector<unsigned char>& out);
static bool writeDepthLabels(const std::string& path, const DepthStretch& stretch, double share);
static int writeView(const std::string& outDir, const std::string& compareDir, const char* name,
                     const unsigned char* topFirst, int width, int height, int compareFactor);

void stripOfCrops(const unsigned char* const* windows, int count, int windowW, int x, int y,
                  std::vector<unsigned char>& out, int& width, int& height) {
    int side = CROP_WIDTH * CROP_ENLARGED;
    width = count * side + (count - 1) * STRIP_GAP;
    height = CROP_HEIGHT * CROP_ENLARGED;
    out.assign((size_t)width * height * 3, 255);
    for (int k = 0; k < count; k++)
        for (int row = 0; row < height; row++)
            for (int col = 0; col < side; col++) {
                // Top row first: the crop's top window row is y + CROP_HEIGHT - 1.
                int wx = x + col / CROP_ENLARGED;
                int wy = y + CROP_HEIGHT - 1 - row / CROP_ENLARGED;
                const unsigned char* from = windows[k] + ((size_t)wy * windowW + wx) * 3;
                unsigned char* to = &out[((size_t)row * width + k * (side + STRIP_GAP) + col) * 3];
                std::copy(from, from + 3, to);
            }
}

// False when the setting's program could not be made (it said why).
static bool shadowedWith(const ShadowSetting& setting, std::vector<unsigned char>& out) {
    GLhandleARB program = shadowVariant(setting);
    if (!program)
        return false;
    drawPassView(VIEW_SHADOWED, program, out, nullptr);
    return true;
}

bool prepareReplayPassViews() {
    int x, y;
    if (!sceneStripCrop(x, y)) {
        fprintf(stderr, "replay: the pass views need the girl's model (res/Girl.3ds)\n");
        return false;
    }
    return preparePassViews();
}

// One line per label: its name and where it lies in the depth view, top row 0; then the stretch
// and the share of pixels the shadow lookup changes.
static bool writeDepthLabels(const std::string& path, const DepthStretch& stretch, double share) {
    FILE* file = fopen(path.c_str(), "w");
    if (!file) {
        fprintf(stderr, "replay: cannot write %s\n", path.c_str());
        return false;
    }
    fprintf(file, "label,x,y\n");
    for (const DepthLabel& d : DEPTH_LABELS) {
        int object = sceneObjectOf(d.modelPath);
        if (object < 0)
            continue;
        const float* m = sceneObjects[object].matrix;
        float world[3] = {m[12], m[13], m[14]};
        double at[2];
        if (depthViewPoint(world, at))
            fprintf(file, "%s,%.1f,%.1f\n", d.label, at[0], windowHeight - at[1]);
    }
    double footprint[5][2];
    if (cameraFootprint(footprint))
        for (int k = 0; k < 5; k++)
            fprintf(file, "%s,%.1f,%.1f\n", k == 0 ? "eye" : "footprint", footprint[k][0],
                    windowHeight - footprint[k][1]);
    fprintf(file, "stretch nearest,%.1f,\nstretch farthest,%.1f,\nshadowed share,%.4f,\n",
            stretch.nearest, stretch.farthest, share);
    bool written = fclose(file) == 0;
    if (!written)
        fprintf(stderr, "replay: cannot write %s\n", path.c_str());
    return written;
}

// compareFactor: how many times both are shrunk before the golden tolerance holds them.
static int writeView(const std::string& outDir, const std::string& compareDir, const char* name,
                     const unsigned char* topFirst, int width, int height, int compareFactor) {
    std::string path = outDir + "/" + name;
    if (!stbi_write_png(path.c_str(), width, height, 3, topFirst, width * 3)) {
        fprintf(stderr, "replay: cannot write %s\n", path.c_str());
        return 1;
    }
    if (compareDir.empty())
        return 0;
    std::string referencePath = compareDir + "/" + name;
    int w = 0, h = 0, channels = 0;
    unsigned char* reference = stbi_load(referencePath.c_str(), &w, &h, &channels, 3);
    if (!reference || w != width || h != height) {
        printf("%s: no %d x %d picture in %s\n", name, width, height, compareDir.c_str());
        stbi_image_free(reference);
        return 1;
    }
    // scaleDownShot turns rows over: both go in top first and come out alike.
    std::vector<unsigned char> shotSmall, referenceSmall;
    scaleDownShot(topFirst, width, height, compareFactor, shotSmall);
    scaleDownShot(reference, width, height, compareFactor, referenceSmall);
    stbi_image_free(reference);
    ShotDifference d = compareShots(shotSmall.data(), referenceSmall.data(), width / compareFactor,
                                    height / compareFactor);
    printf("%s: mean difference %.3f, %.4f %% of pixels off, %d together%s\n", name,
           d.meanDifference, 100.0 * d.shareOff, d.largestCluster, d.matches() ? "" : "  MISMATCH");
    return d.matches() ? 0 : 1;
}

int writePassViews(const std::string& outDir, int scaleDown, const std::string& compareDir) {
    const int pixels = windowWidth * windowHeight;
    std::vector<unsigned char> views[PASS_VIEW_KINDS];
    DepthStretch stretch = {0, 0};
    // The finished frame first, as the replay drew it; then each pass on its own.
    drawPassView(VIEW_FRAME, 0, views[VIEW_FRAME], nullptr);
    drawPassView(VIEW_DEPTH, 0, views[VIEW_DEPTH], &stretch);
    drawPassView(VIEW_UNSHADOWED, 0, views[VIEW_UNSHADOWED], nullptr);
    drawPassView(VIEW_SHADOWED, 0, views[VIEW_SHADOWED], nullptr);
    differenceImage(views[VIEW_UNSHADOWED].data(), views[VIEW_SHADOWED].data(), pixels,
                    views[VIEW_DIFFERENCE]);
    double share = shadowedShare(views[VIEW_UNSHADOWED], views[VIEW_SHADOWED]);
    int failures = 0;
    // Shrinking to the golden shots' size, SHOT_SCALE_DOWN times smaller than the window, makes
    // the tolerance mean what it means there.
    int compareFactor = std::max(1, SHOT_SCALE_DOWN / scaleDown);
    for (int i = 0; i < PASS_VIEW_KINDS; i++) {
        std::vector<unsigned char> view;
        scaleDownShot(views[i].data(), windowWidth, windowHeight, scaleDown, view);
        failures += writeView(outDir, compareDir, PASS_VIEW_NAMES[i], view.data(),
                              windowWidth / scaleDown, windowHeight / scaleDown, compareFactor);
    }

    // The strips: the lit pass at one close crop, enlarged, under each setting.
    int x = 0, y = 0;
    sceneStripCrop(x, y);
    struct Strip {
        const ShadowSetting* settings;
        int count;
        const char* name;
    };
    const Strip strips[] = {{BIAS_STRIP, 3, PASS_VIEW_NAMES[5]},
                            {PCF_STRIP, 2, PASS_VIEW_NAMES[6]}};
    for (const Strip& s : strips) {
        std::vector<unsigned char> lit[3];
        const unsigned char* windows[3];
        bool made = true;
        for (int k = 0; k < s.count; k++) {
            made = made && shadowedWith(s.settings[k], lit[k]);
            windows[k] = lit[k].data();
        }
        if (!made) {
            failures++;
            continue;
        }
        std::vector<unsigned char> strip;
        int width = 0, height = 0;
        stripOfCrops(windows, s.count, windowWidth, x, y, strip, width, height);
        // Back to window pixels and then to the golden size.
        failures += writeView(outDir, compareDir, s.name, strip.data(), width, height,
                              CROP_ENLARGED * SHOT_SCALE_DOWN);
    }
    if (!writeDepthLabels(outDir + "/depth-labels.csv", stretch, share))
        failures++;
    // The stored depths behind the stretch: window depth of a distance d from the light.
    auto stored = [](double d) {
        return FAR_PLANE / (FAR_PLANE - NEAR_PLANE) * (1.0 - NEAR_PLANE / d);
    };
    printf("pass views: the shadow lookup changes %.2f %% of the pixels; the depth picture "
           "stretches %.1f .. %.1f units from the light (stored depth %.5f .. %.5f); crop at "
           "(%d, %d)\n",
           100.0 * share, stretch.nearest, stretch.farthest, stored(stretch.nearest),
           stored(stretch.farthest), x, y);
    return failures;
}
