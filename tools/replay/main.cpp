// replay [--fps F | --pace SEED] [--size WxH] [--every-frame] [--scale-down N] [--compare DIR]
// [--out DIR] [--pass-views SECOND] [--camera-path FILE]: plays the whole script as a machine
// drawing a steady F frames a second would (or, with --pace, at an uneven pace of 8 to 40 frames a
// second drawn from SEED), and writes the
// frames it captures as PNGs: the last frame of each script second (NNs.png, 0 to 26 s), or every
// frame (frame-NNNNN.png), shrunk N times in each direction when asked. Only the captured frames
// are drawn, so a fast rate costs little. With --compare it also holds each second's shot against
// DIR/NNs.png, prints the figures, writes NNs-diff.png beside a shot that does not match and ends
// with status 1 if one does not. --pass-views writes, instead of the shots, the frame's passes at
// the shot of that second (passViews.h), held against DIR's pictures of the same name with
// --compare; --camera-path writes the eye's path as CSV (cameraPath.h) and draws nothing. Run it
// from the folder holding the shader files and res/, as the demo is.
#include <GL/glew.h>
#include <GL/freeglut.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/sceneInit.h"
#include "app/window.h"
#include "app/replay.h"
#include "render/frameReadback.h"

#include "cameraPath.h"
#include "passViews.h"
#include "shotCompare.h"

#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

struct ReplayOptions {
    ReplayPace pace = {25, 0};
    int width = 640, height = 480; // pixels
    bool everyFrame = false;
    int scaleDown = 1;
    std::string compareDir; // references to hold the shots against; empty: none
    std::string outDir = "replay";
    int passViewSecond = -1; // script second whose passes to write; -1: none
    std::string cameraPath;  // CSV of the eye's path; empty: none
};

struct ShotWriter {
    const ReplayOptions* options;
    int written;
    bool failed;
    int mismatches;
    std::vector<unsigned char> rows; // one frame, bottom row first
};

static const int MAX_FRAMES_PER_SECOND = 100000;
static const int MAX_PACE_SEED = 1000000000;
static const int MAX_SIDE = 4096; // pixels; the depth pass is 4 times each side

// ---- helpers ----
static bool parseOptions(int argc, char** argv, ReplayOptions& out);
static void writeShot(int second, int frame, void* context);
static void writePassViewShot(int second, int frame, void* context);
static bool makeFolder(const std::string& path);
static int parseCount(const char* option, const char* value, int most);
static void compareWithReference(ShotWriter& writer, int second, const unsigned char* shot,
                                 int width, int height);

static bool parseOptions(int argc, char** argv, ReplayOptions& out) {
    bool fpsGiven = false;
    for (int i = 1; i < argc; i++) {
        const char* arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (strcmp(arg, "--every-frame") == 0) {
            out.everyFrame = true;
        } else if (strcmp(arg, "--fps") == 0 && value) {
            out.pace.framesPerSecond = parseCount(arg, value, MAX_FRAMES_PER_SECOND);
            if (!out.pace.framesPerSecond)
                return false;
            fpsGiven = true;
            i++;
        } else if (strcmp(arg, "--pace") == 0 && value) {
            out.pace.seed = (unsigned)parseCount(arg, value, MAX_PACE_SEED);
            if (!out.pace.seed)
                return false;
            i++;
        } else if (strcmp(arg, "--scale-down") == 0 && value) {
            out.scaleDown = parseCount(arg, value, MAX_SIDE);
            if (!out.scaleDown)
                return false;
            i++;
        } else if (strcmp(arg, "--compare") == 0 && value) {
            out.compareDir = value;
            i++;
        } else if (strcmp(arg, "--size") == 0 && value) {
            int w = 0, h = 0;
            char tail;
            if (sscanf(value, "%dx%d%c", &w, &h, &tail) != 2 || w < 1 || h < 1 || w > MAX_SIDE ||
                h > MAX_SIDE) {
                fprintf(stderr, "replay: --size takes WIDTHxHEIGHT, 1 to %d each, not '%s'\n",
                        MAX_SIDE, value);
                return false;
            }
            out.width = w;
            out.height = h;
            i++;
        } else if (strcmp(arg, "--pass-views") == 0 && value) {
            char* end;
            long second = strtol(value, &end, 10);
            if (*end || end == value || second < 0 || second > REPLAY_LAST_SECOND) {
                fprintf(stderr, "replay: --pass-views takes a second 0 to %d, not '%s'\n",
                        REPLAY_LAST_SECOND, value);
                return false;
            }
            out.passViewSecond = (int)second;
            i++;
        } else if (strcmp(arg, "--camera-path") == 0 && value) {
            out.cameraPath = value;
            i++;
        } else if (strcmp(arg, "--out") == 0 && value) {
            out.outDir = value;
            i++;
        } else {
            fprintf(stderr, "usage: replay [--fps F | --pace SEED] [--size WxH] [--every-frame] "
                            "[--scale-down N] [--compare DIR] [--out DIR] [--pass-views SECOND] "
                            "[--camera-path FILE]\n");
            return false;
        }
    }
    if (fpsGiven && out.pace.seed) {
        fprintf(stderr, "replay: --fps and --pace exclude each other: a steady rate or an uneven "
                        "pace, not both\n");
        return false;
    }
    std::error_code error;
    if (!out.compareDir.empty() && !std::filesystem::is_directory(out.compareDir, error)) {
        fprintf(stderr, "replay: --compare %s: no such folder of reference shots\n",
                out.compareDir.c_str());
        return false;
    }
    if (out.scaleDown > out.width || out.scaleDown > out.height) {
        fprintf(stderr, "replay: --scale-down %d leaves nothing of %d x %d\n", out.scaleDown,
                out.width, out.height);
        return false;
    }
    if (out.passViewSecond >= 0 && (out.everyFrame || !out.cameraPath.empty())) {
        fprintf(stderr,
                "replay: --pass-views takes one shot, not --every-frame or --camera-path\n");
        return false;
    }
    if (!out.cameraPath.empty() && (out.everyFrame || !out.compareDir.empty())) {
        fprintf(stderr, "replay: --camera-path draws nothing to capture or compare\n");
        return false;
    }
    if (out.everyFrame && !out.compareDir.empty()) {
        fprintf(stderr, "replay: --compare holds one shot a second, not --every-frame\n");
        return false;
    }
    return true;
}

// 1 .. most, or 0 after saying why not.
static int parseCount(const char* option, const char* value, int most) {
    char* end;
    long count = strtol(value, &end, 10);
    if (*end || end == value || count < 1 || count > most) {
        fprintf(stderr, "replay: %s takes 1 to %d, not '%s'\n", option, most, value);
        return 0;
    }
    return (int)count;
}

static void compareWithReference(ShotWriter& writer, int second, const unsigned char* shot,
                                 int width, int height) {
    const ReplayOptions& options = *writer.options;
    char name[32];
    snprintf(name, sizeof name, "%02ds.png", second);
    std::string path = options.compareDir + "/" + name;
    int w = 0, h = 0, channels = 0;
    unsigned char* reference = stbi_load(path.c_str(), &w, &h, &channels, 3);
    if (!reference || w != width || h != height) {
        printf("%s: no %d x %d reference (%s)\n", name, width, height,
               reference ? "other size" : stbi_failure_reason());
        stbi_image_free(reference);
        writer.mismatches++;
        return;
    }
    ShotDifference d = compareShots(shot, reference, width, height);
    printf("%s: mean difference %.3f, %.4f %% of pixels off, %d together%s\n", name,
           d.meanDifference, 100.0 * d.shareOff, d.largestCluster, d.matches() ? "" : "  MISMATCH");
    if (!d.matches()) {
        writer.mismatches++;
        std::vector<unsigned char> diff;
        diffImage(shot, reference, width * height, diff);
        snprintf(name, sizeof name, "%02ds-diff.png", second);
        std::string diffPath = options.outDir + "/" + name;
        if (stbi_write_png(diffPath.c_str(), width, height, 3, diff.data(), width * 3))
            printf("  diff image: %s\n", diffPath.c_str());
    }
    stbi_image_free(reference);
}

static bool makeFolder(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return std::filesystem::is_directory(path, error);
}

// The frame just drawn, read from the back buffer before anything presents it.
static void writeShot(int second, int frame, void* context) {
    ShotWriter& writer = *(ShotWriter*)context;
    const ReplayOptions& options = *writer.options;
    readBackBuffer(options.width, options.height, writer.rows);
    char name[32];
    if (options.everyFrame)
        snprintf(name, sizeof name, "frame-%05d.png", frame);
    else
        snprintf(name, sizeof name, "%02ds.png", second);
    std::string path = options.outDir + "/" + name;
    std::vector<unsigned char> shot;
    scaleDownShot(writer.rows.data(), options.width, options.height, options.scaleDown, shot);
    int width = options.width / options.scaleDown, height = options.height / options.scaleDown;
    if (!stbi_write_png(path.c_str(), width, height, 3, shot.data(), width * 3)) {
        fprintf(stderr, "replay: cannot write %s\n", path.c_str());
        writer.failed = true;
        return;
    }
    writer.written++;
    if (!options.compareDir.empty())
        compareWithReference(writer, second, shot.data(), width, height);
}

// Only the chosen second's shot: its frame is taken apart into passes.
static void writePassViewShot(int second, int, void* context) {
    ShotWriter& writer = *(ShotWriter*)context;
    const ReplayOptions& options = *writer.options;
    if (second != options.passViewSecond)
        return;
    writer.mismatches += writePassViews(options.outDir, options.scaleDown, options.compareDir);
    writer.written += PASS_VIEW_COUNT;
}

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    ReplayOptions options;
    if (!parseOptions(argc, argv, options))
        return 2;
    if (!makeFolder(options.outDir)) {
        fprintf(stderr, "replay: cannot write into %s\n", options.outDir.c_str());
        return 1;
    }
    windowWidth = options.width;
    windowHeight = options.height;
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_ALPHA | GLUT_DEPTH);
    glutInitWindowSize(windowWidth, windowHeight);
    glutInitWindowPosition(0, 0);
    glutCreateWindow("Kalvren: Dust Riders Demo (replay)");

    auto started = std::chrono::steady_clock::now();
    // Before the scene loads, so that loading takes no script time.
    beginReplay();
    initScene();
    ShotWriter writer = {&options, 0, false, 0, {}};
    int frames = 0;
    if (!options.cameraPath.empty()) {
        bool written =
            writeCameraPath(options.cameraPath.c_str(), options.pace, REPLAY_LAST_SECOND);
        endReplay();
        if (!written)
            return 1;
        printf("replay: camera path in %s\n", options.cameraPath.c_str());
        return 0;
    } else if (options.passViewSecond >= 0) {
        if (!prepareReplayPassViews())
            return 1;
        frames =
            replayScript(options.pace, options.passViewSecond, false, writePassViewShot, &writer);
    } else {
        frames =
            replayScript(options.pace, REPLAY_LAST_SECOND, options.everyFrame, writeShot, &writer);
    }
    endReplay();
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    char pace[48];
    if (options.pace.seed)
        snprintf(pace, sizeof pace, "uneven pace of seed %u", options.pace.seed);
    else
        snprintf(pace, sizeof pace, "%d frames a second", options.pace.framesPerSecond);
    printf("replay: %s, %d frames, %d shots of %d x %d in %s (%.1f s)\n", pace, frames,
           writer.written, options.width / options.scaleDown, options.height / options.scaleDown,
           options.outDir.c_str(), seconds);
    if (!options.compareDir.empty())
        printf("replay: %d of %d shots differ from %s\n", writer.mismatches, writer.written,
               options.compareDir.c_str());
    return writer.failed || writer.mismatches ? 1 : 0;
}
