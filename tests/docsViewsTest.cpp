// The "How it works" page's tool options: the eye recovered from a view matrix, the fragment
// shader rewritten without its depth bias, depth shown as grey (pure), and the camera path the
// replay writes for the real scene.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

#include "app/replay.h"
#include "demo/choreography.h"
#include "math/angleTables.h"
#include "math/matrix.h"
#include "math/transforms.h"
#include "tests/glFixture.h"
#include "tests/renderSceneSupportTest.h"
#include "tools/replay/cameraPath.h"
#include "tools/replay/passViews.h"

namespace {

// The view maps the eye to the origin of eye space, whatever turns and moves made it.
TEST(DocsViews, EyeOfViewIsWhereTheViewPutsTheOrigin) {
    buildAngleTables();
    struct Move {
        float dx, dy, dz;
        int ax, ay, az;
    };
    const Move cases[][2] = {
        {{-100, -30, 45, 240, 0, 0}, {0, 0, 0, 0, 0, 0}}, // the start view
        {{-330, -50, -30, 0, -550, 0}, {0, 0, 12, 0, 0, 0}},
        {{-100, -250, 100, 900, 0, 0}, {5, -7, 3, 0, 1800, 300}},
        {{60, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}}, // a move alone: the eye is its opposite
    };
    for (const auto& moves : cases) {
        matIdentity(cameraMatrix);
        for (const Move& m : moves) {
            cameraTranslate(m.dx, m.dy, m.dz);
            cameraRotate(m.ax, m.ay, m.az);
        }
        Vec3f eye = eyeOfView(cameraMatrix);
        const float* v = cameraMatrix;
        for (int row = 0; row < 3; row++) {
            float mapped = v[row] * eye.x + v[4 + row] * eye.y + v[8 + row] * eye.z + v[12 + row];
            EXPECT_NEAR(mapped, 0.0f, 1e-2f) << "eye (" << eye.x << ", " << eye.y << ", " << eye.z
                                             << ") after a move by " << moves[0].dx;
        }
    }
    matIdentity(cameraMatrix);
    cameraTranslate(60, 0, 0);
    EXPECT_NEAR(eyeOfView(cameraMatrix).x, -60.0f, 1e-4f);
}

// Every bias constant of the shipped shader becomes 0 and nothing else changes; a shader without
// one is refused rather than drawn with its bias silently kept.
TEST(DocsViews, WithoutDepthBiasZeroesEachBiasConstantOnly) {
    std::ifstream file(DUSTRIDERS_SOURCE_DIR "/shaders/FragmentShader.c");
    std::stringstream text;
    text << file.rdbuf();
    std::string source = text.str();
    ASSERT_NE(source.find("CONSTANT_BIAS"), std::string::npos);
    std::string rewritten;
    ASSERT_TRUE(withoutDepthBias(source, rewritten));
    for (const char* name : {"CONSTANT_BIAS", "SLOPE_BIAS_TEXELS", "MAX_SLOPE_BIAS"})
        EXPECT_NE(rewritten.find(std::string("const float ") + name + " = 0.0;"), std::string::npos)
            << name << " keeps its value";
    // Only the three lines that declare them differ.
    std::istringstream before(source), after(rewritten);
    std::string a, b;
    int changed = 0;
    while (std::getline(before, a) && std::getline(after, b)) {
        if (a != b) {
            changed++;
            EXPECT_NE(a.find("BIAS"), std::string::npos) << "changed: " << a;
        }
    }
    EXPECT_EQ(changed, 3);
    EXPECT_FALSE(std::getline(before, a) || std::getline(after, b)) << "line counts differ";
    std::string noSlope = source;
    noSlope.replace(noSlope.find("const float MAX_SLOPE_BIAS"), 5, "float");
    EXPECT_FALSE(withoutDepthBias(noSlope, rewritten));
}

// Near dark, far light, untouched texels white; order by distance is kept.
TEST(DocsViews, DepthToGreyStretchesDistanceNearDark) {
    const double nearPlane = 10.0, farPlane = 40000.0;
    std::vector<float> depth = {0.2f, 0.99f, 0.999f, 0.9999f, 1.0f};
    std::vector<unsigned char> grey;
    depthToGrey(depth.data(), (int)depth.size(), nearPlane, farPlane, grey);
    ASSERT_EQ(grey.size(), depth.size() * 3);
    EXPECT_EQ(grey[0], 0) << "the nearest drawn texel is black";
    EXPECT_EQ(grey[3 * 3], 255) << "the farthest drawn texel is white";
    EXPECT_EQ(grey[4 * 3], 255) << "a cleared texel is white";
    for (size_t i = 1; i < 4; i++)
        EXPECT_LT(grey[3 * (i - 1)], grey[3 * i]) << "farther texel " << i << " not lighter";
    EXPECT_EQ(grey[3], grey[4]);
    EXPECT_EQ(grey[4], grey[5]);
    // Depth 0.99 lies at about 1 / 100 of the way out in distance, not 99 %.
    EXPECT_LT(grey[3], 20);
}

class DocsCameraPath : public GlTest {};

// One row per frame; each once-only setup shows up once, on the first frame of the second its
// phase starts; the eye rests until the first setup; nothing moves once the script is over.
TEST_F(DocsCameraPath, RowsFollowTheScriptFrameByFrame) {
    initSceneAsAtStart();
    beginReplay();
    std::string path = std::string(DUSTRIDERS_RUN_DIR) + "/docs-camera-path-test.csv";
    const int FPS = 10;
    ASSERT_TRUE(writeCameraPath(path.c_str(), {FPS, 0}, REPLAY_LAST_SECOND));
    endReplay();
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    EXPECT_EQ(line, "frame,second,eyeX,eyeY,eyeZ,setup,moved");
    struct Row {
        int frame, second;
        float x, y, z;
        std::string setup, moved;
    };
    std::vector<Row> rows;
    while (std::getline(file, line)) {
        Row r;
        std::stringstream fields(line);
        std::string field[7];
        for (std::string& f : field)
            std::getline(fields, f, ',');
        r = {std::stoi(field[0]),
             std::stoi(field[1]),
             std::stof(field[2]),
             std::stof(field[3]),
             std::stof(field[4]),
             field[5],
             field[6]};
        rows.push_back(r);
    }
    ASSERT_EQ(rows.size(), (size_t)(REPLAY_LAST_SECOND + 1) * FPS);
    const int SETUP_SECONDS[PHASE_SETUP_COUNT] = {7, 9, 11, 15, 17, 20, 22};
    for (int i = 0; i < PHASE_SETUP_COUNT; i++) {
        int seen = 0;
        for (const Row& r : rows) {
            if (r.setup != std::to_string(i))
                continue;
            seen++;
            EXPECT_EQ(r.frame, SETUP_SECONDS[i] * FPS) << "setup " << i;
        }
        EXPECT_EQ(seen, 1) << "setup " << i;
    }
    for (const Row& r : rows) {
        EXPECT_EQ(r.frame, &r - &rows[0]);
        EXPECT_EQ(r.second, r.frame / FPS);
        if (r.second < 7) {
            EXPECT_FLOAT_EQ(r.x, rows[0].x);
            EXPECT_FLOAT_EQ(r.z, rows[0].z);
        }
        if (r.second >= 24) {
            EXPECT_EQ(r.moved, "") << "frame " << r.frame;
        }
    }
    EXPECT_NE(rows[0].moved, "") << "the rake rocks from the first frame";
    EXPECT_EQ(rows[0].moved.find(' '), std::string::npos) << rows[0].moved;
    std::remove(path.c_str());
}

} // namespace
