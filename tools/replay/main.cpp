// replay [--fps F] [--size WxH] [--every-frame] [--out DIR]: plays the whole script as a machine
// drawing a steady F frames a second would, and writes the frames it captures as PNGs: the last
// frame of each script second (NNs.png, 0 to 26 s), or every frame (frame-NNNNN.png). Only the
// captured frames are drawn, so a fast rate costs little. Run it from the folder holding the
// shader files and res/, as the demo is.
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
#include "demo/replay.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

struct ReplayOptions {
    int framesPerSecond = 25;
    int width = 640, height = 480; // pixels
    bool everyFrame = false;
    std::string outDir = "replay";
};

struct ShotWriter {
    const ReplayOptions* options;
    int written;
    bool failed;
    std::vector<unsigned char> rows; // one frame, bottom row first
};

static const int MAX_FRAMES_PER_SECOND = 100000;
static const int MAX_SIDE = 4096; // pixels; the depth pass is 4 times each side

// ---- helpers ----
static bool parseOptions(int argc, char** argv, ReplayOptions& out);
static void writeShot(int second, int frame, void* context);
static bool makeFolder(const std::string& path);

static bool parseOptions(int argc, char** argv, ReplayOptions& out) {
    for (int i = 1; i < argc; i++) {
        const char* arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (strcmp(arg, "--every-frame") == 0) {
            out.everyFrame = true;
        } else if (strcmp(arg, "--fps") == 0 && value) {
            char* end;
            long fps = strtol(value, &end, 10);
            if (*end || fps < 1 || fps > MAX_FRAMES_PER_SECOND) {
                fprintf(stderr, "replay: --fps takes 1 to %d, not '%s'\n", MAX_FRAMES_PER_SECOND,
                        value);
                return false;
            }
            out.framesPerSecond = (int)fps;
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
        } else if (strcmp(arg, "--out") == 0 && value) {
            out.outDir = value;
            i++;
        } else {
            fprintf(stderr, "usage: replay [--fps F] [--size WxH] [--every-frame] [--out DIR]\n");
            return false;
        }
    }
    return true;
}

static bool makeFolder(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return std::filesystem::is_directory(path, error);
}

// The frame displayFrame just presented: Mesa keeps the back buffer through the swap.
static void writeShot(int second, int frame, void* context) {
    ShotWriter& writer = *(ShotWriter*)context;
    const ReplayOptions& options = *writer.options;
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, options.width, options.height, GL_RGB, GL_UNSIGNED_BYTE, writer.rows.data());
    char name[32];
    if (options.everyFrame)
        snprintf(name, sizeof name, "frame-%05d.png", frame);
    else
        snprintf(name, sizeof name, "%02ds.png", second);
    std::string path = options.outDir + "/" + name;
    int stride = options.width * 3;
    // Bottom row first in GL, top row first in PNG: write from the last row with a negative stride.
    const unsigned char* top = writer.rows.data() + (size_t)stride * (options.height - 1);
    if (!stbi_write_png(path.c_str(), options.width, options.height, 3, top, -stride)) {
        fprintf(stderr, "replay: cannot write %s\n", path.c_str());
        writer.failed = true;
        return;
    }
    writer.written++;
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
    ShotWriter writer = {&options, 0, false, {}};
    writer.rows.resize((size_t)options.width * options.height * 3);
    int frames = replayScript(options.framesPerSecond, REPLAY_LAST_SECOND, options.everyFrame,
                              writeShot, &writer);
    endReplay();
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    printf("replay: %d frames a second, %d frames, %d shots of %d x %d in %s (%.1f s)\n",
           options.framesPerSecond, frames, writer.written, options.width, options.height,
           options.outDir.c_str(), seconds);
    return writer.failed ? 1 : 0;
}
