// The picture itself is pinned: the replay's shot of every script second, at 25 and at 60 frames a
// second, matches its reference under tests/goldens/ (scripts/goldens.sh --update rewrites them
// after an intended change of the picture). A shot that does not match leaves a diff image.
#include <GL/glew.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "app/window.h"
#include "demo/choreography.h"
#include "app/replay.h"
#include "particles/particleRandom.h"
#include "tests/glFixture.h"
#include "tests/renderSceneSupportTest.h"
#include "tools/replay/shotCompare.h"

#include <stb_image.h>
#include <stb_image_write.h>

namespace {

struct GoldenRun {
    std::string references, diffs; // folders
    int shots = 0, mismatches = 0;
    ShotDifference worst = {0.0, 0.0, 0}; // largest of each figure over the shots
    std::string failures;
};

void checkShot(int second, int, void* context) {
    GoldenRun& run = *(GoldenRun*)context;
    run.shots++;
    CapturedFrame frame = captureBackBuffer();
    std::vector<unsigned char> shot;
    scaleDownShot(frame.rgb.data(), frame.width, frame.height, SHOT_SCALE_DOWN, shot);
    int width = frame.width / SHOT_SCALE_DOWN, height = frame.height / SHOT_SCALE_DOWN;
    char name[16];
    snprintf(name, sizeof name, "%02ds", second);
    std::string path = run.references + "/" + name + ".png";
    int w = 0, h = 0, channels = 0;
    unsigned char* reference = stbi_load(path.c_str(), &w, &h, &channels, 3);
    if (!reference || w != width || h != height) {
        run.mismatches++;
        run.failures += std::string("\n  ") + name + ": no " + std::to_string(width) + " x " +
                        std::to_string(height) + " reference " + path;
        stbi_image_free(reference);
        return;
    }
    ShotDifference d = compareShots(shot.data(), reference, width, height);
    run.worst.meanDifference = std::max(run.worst.meanDifference, d.meanDifference);
    run.worst.shareOff = std::max(run.worst.shareOff, d.shareOff);
    run.worst.largestCluster = std::max(run.worst.largestCluster, d.largestCluster);
    if (!d.matches()) {
        run.mismatches++;
        std::vector<unsigned char> diff;
        diffImage(shot.data(), reference, width * height, diff);
        std::filesystem::create_directories(run.diffs);
        std::string diffPath = run.diffs + "/" + name + "-diff.png";
        stbi_write_png(diffPath.c_str(), width, height, 3, diff.data(), width * 3);
        stbi_write_png((run.diffs + "/" + name + ".png").c_str(), width, height, 3, shot.data(),
                       width * 3);
        char line[200];
        snprintf(line, sizeof line,
                 "\n  %s: mean difference %.2f, %.2f %% of pixels off, %d together; ", name,
                 d.meanDifference, 100.0 * d.shareOff, d.largestCluster);
        run.failures += line + diffPath;
    }
    stbi_image_free(reference);
}

class GoldenShots : public GlTest, public ::testing::WithParamInterface<int> {};

TEST_P(GoldenShots, EveryScriptSecondMatchesItsReference) {
    int framesPerSecond = GetParam();
    if (!std::filesystem::exists("res/desert.3ds"))
        GTEST_FAIL() << "generated res/ missing: the build writes it into the run directory";
    // As a fresh start of the replay tool has it: the fountain's sequence from its first value
    // (the scene's set-up draws from it).
    seedParticleRandom(1);
    initSceneAsAtStart();
    beginReplay();
    GoldenRun run;
    std::string folder = std::to_string(framesPerSecond) + "fps";
    run.references = std::string(DUSTRIDERS_SOURCE_DIR) + "/tests/goldens/" + folder;
    run.diffs = std::string(DUSTRIDERS_RUN_DIR) + "/../golden-diffs/" + folder;
    std::filesystem::remove_all(run.diffs);
    replayScript({framesPerSecond, 0}, REPLAY_LAST_SECOND, false, checkShot, &run);
    endReplay();
    printf("%d fps: %d shots, largest mean difference %.3f, largest share off %.4f %%, largest "
           "group off %d pixels\n",
           framesPerSecond, run.shots, run.worst.meanDifference, 100.0 * run.worst.shareOff,
           run.worst.largestCluster);
    // The references hold for the software renderer that made them; another one is named.
    const char* renderer = (const char*)glGetString(GL_RENDERER);
    const char* version = (const char*)glGetString(GL_VERSION);
    EXPECT_EQ(run.shots, REPLAY_LAST_SECOND + 1);
    EXPECT_EQ(run.mismatches, 0) << run.mismatches << " of " << run.shots << " shots at "
                                 << framesPerSecond << " frames a second differ from "
                                 << run.references << " (at most " << SHOT_MAX_MEAN_DIFFERENCE
                                 << " mean, " << 100.0 * SHOT_MAX_SHARE_OFF << " % of pixels off "
                                 << "by more than " << SHOT_PIXEL_THRESHOLD << ", at most "
                                 << SHOT_MAX_CLUSTER << " of them together) on " << renderer << ", "
                                 << version << ":" << run.failures
                                 << "\nAfter an intended change of the picture: scripts/goldens.sh "
                                    "--update";
}

// A few pixels off that lie together are a thing out of place; as many scattered are noise.
TEST(ShotCompare, AGroupOfPixelsOffFailsWhereTheSameNumberScatteredPasses) {
    const int W = 160, H = 120; // a shot's size
    std::vector<unsigned char> reference(W * H * 3, 100);
    struct Case {
        const char* name;
        int step; // pixels off at every `step`-th place of a row, else a square block
        int count;
        int cluster;
    } cases[] = {{"scattered", 3, 12, 1}, {"block", 0, 9, 9}};
    for (const Case& c : cases) {
        std::vector<unsigned char> shot = reference;
        for (int i = 0; i < c.count; i++) {
            int x = c.step ? (i * c.step) % W : 10 + i % 3;
            int y = c.step ? (i * c.step) / W * 2 : 10 + i / 3;
            shot[(y * W + x) * 3 + 1] = 200;
        }
        ShotDifference d = compareShots(shot.data(), reference.data(), W, H);
        EXPECT_EQ(d.largestCluster, c.cluster) << c.name;
        EXPECT_EQ(d.matches(), c.cluster <= SHOT_MAX_CLUSTER) << c.name;
    }
}

// An uneven pace is the same for the same seed, differs between seeds, and stays in its range.
TEST(ReplayPace, UnevenSecondsRepeatPerSeedAndStayInRange) {
    int differing = 0;
    for (int second = 0; second <= REPLAY_LAST_SECOND; second++) {
        int frames = framesInSecond({60, 7}, second);
        EXPECT_EQ(frames, framesInSecond({25, 7}, second)) << "the rate is not used";
        EXPECT_GE(frames, UNEVEN_FRAMES_MIN);
        EXPECT_LE(frames, UNEVEN_FRAMES_MAX);
        differing += frames != framesInSecond({60, 8}, second);
    }
    EXPECT_GT(differing, REPLAY_LAST_SECOND / 2) << "seeds 7 and 8 give nearly the same pace";
}

INSTANTIATE_TEST_SUITE_P(Replay, GoldenShots, ::testing::Values(25, 60),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "At" + std::to_string(info.param) + "Fps";
                         });

} // namespace
