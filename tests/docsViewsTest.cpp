// The "How it works" page's views and tool options: the eye recovered from a view matrix, the
// shader rewritten for each shadow setting, distance shown as grey, the difference image and the
// strips (pure); the depth picture against the geometry, the settings' programs, and the camera
// path the replay writes for the real scene (GL).
#include <GL/glew.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

#include "app/replay.h"
#include "app/window.h"
#include "demo/choreography.h"
#include "math/angleTables.h"
#include "math/matrix.h"
#include "math/transforms.h"
#include "render/extensionEntryPoints.h"
#include "render/renderPasses.h"
#include "render/shaderLoading.h"
#include "render/shadowTarget.h"
#include "tests/glFixture.h"
#include "tests/renderSceneSupportTest.h"
#include "tools/replay/cameraPath.h"
#include "render/passViews.h"
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

// The shipped constants as the shader file states them, read without the code under test.
static double shippedConstant(const std::string& source, const std::string& name) {
    size_t at = source.find("const float " + name);
    return at == std::string::npos ? -1.0 : std::stod(source.substr(source.find('=', at) + 1));
}

// Each setting scales every bias constant and nothing else, and defines ONE_TAP only for one
// tap; a scale out of range or a shader without a constant is refused rather than drawn with the
// shipped bias silently kept.
TEST(DocsViews, ShadowShaderTextScalesTheBiasAndPicksTheTaps) {
    std::ifstream file(DUSTRIDERS_SOURCE_DIR "/shaders/FragmentShader.c");
    std::stringstream text;
    text << file.rdbuf();
    const std::string source = text.str();
    const char* const names[] = {"CONSTANT_BIAS", "SLOPE_BIAS_TEXELS", "MAX_SLOPE_BIAS"};
    struct Case {
        ShadowSetting setting;
        bool accepted;
    };
    const Case cases[] = {
        {{0.0, false}, true}, {{1.0, false}, true},   {{4.0, false}, true},   {{1.0, true}, true},
        {{2.5, true}, true},  {{-0.5, false}, false}, {{4.01, false}, false}, {{NAN, true}, false},
    };
    for (const Case& c : cases) {
        std::string out;
        SCOPED_TRACE(testing::Message()
                     << "scale " << c.setting.biasScale << ", one tap " << c.setting.oneTap);
        ASSERT_EQ(shadowShaderText(source, c.setting, out), c.accepted);
        if (!c.accepted)
            continue;
        for (const char* name : names)
            EXPECT_NEAR(shippedConstant(out, name),
                        c.setting.biasScale * shippedConstant(source, name),
                        1e-9 + 1e-6 * shippedConstant(source, name))
                << name;
        EXPECT_EQ(out.find("#define ONE_TAP") != std::string::npos, c.setting.oneTap);
        if (c.setting.oneTap) {
            EXPECT_GT(out.find("#define ONE_TAP"), out.find("#version")) << "#version comes first";
            out.erase(out.find("#define ONE_TAP"), out.find('\n', out.find("#define ONE_TAP")) -
                                                       out.find("#define ONE_TAP") + 1);
        }
        // Only the three declarations differ.
        std::istringstream before(source), after(out);
        std::string x, y;
        int changed = 0;
        while (std::getline(before, x) && std::getline(after, y))
            if (x != y) {
                changed++;
                EXPECT_NE(x.find("BIAS"), std::string::npos) << "changed: " << x;
            }
        EXPECT_LE(changed, 3);
    }
    std::string noSlope = source, out;
    noSlope.replace(noSlope.find("const float MAX_SLOPE_BIAS"), 5, "float");
    EXPECT_FALSE(shadowShaderText(noSlope, SHIPPED_SHADOWS, out));
}

// Near dark, far light, undrawn texels white, order by distance kept; the nearest and farthest
// hundredth saturate, so the stretch is set by the rest.
TEST(DocsViews, DistanceToGreyStretchesBetweenTheHundredths) {
    std::vector<float> distance;
    for (int i = 0; i < 200; i++)
        distance.push_back(500.0f + i);
    distance.push_back(-1.0f);   // nothing drawn
    distance.push_back(5000.0f); // a stray far texel
    std::vector<unsigned char> grey;
    DepthStretch stretch;
    distanceToGrey(distance, grey, stretch);
    ASSERT_EQ(grey.size(), distance.size() * 3);
    // 201 drawn texels: the 1 / 100 share, two, saturate at each end: 500, 501 and 699, 5000.
    EXPECT_FLOAT_EQ(stretch.nearest, 502.0f);
    EXPECT_FLOAT_EQ(stretch.farthest, 698.0f);
    EXPECT_EQ(grey[0], 0);
    EXPECT_EQ(grey[3 * 200], 255) << "an undrawn texel is white";
    EXPECT_EQ(grey[3 * 201], 255) << "the stray texel saturates";
    for (int i = 3; i < 199; i++)
        EXPECT_LE(grey[3 * (i - 1)], grey[3 * i]) << "farther texel " << i << " darker";
    EXPECT_NEAR(grey[3 * 100], std::lround(255.0 * 98 / 196), 1) << "linear in distance";
    EXPECT_EQ(grey[4], grey[3]);
    EXPECT_EQ(grey[5], grey[3]);
}

// The difference image is red exactly where the passes differ, scaled by how far; the share
// counts any change of any channel.
TEST(DocsViews, DifferenceShowsWhereTheLookupChangedAPixel) {
    const std::vector<unsigned char> unshadowed = {90, 90, 90, 200, 100, 50, 10, 20, 30, 9, 9, 9};
    const std::vector<unsigned char> shadowed = {90, 90, 90, 60, 30, 15, 10, 20, 31, 9, 9, 9};
    std::vector<unsigned char> out;
    differenceImage(unshadowed.data(), shadowed.data(), 4, out);
    ASSERT_EQ(out.size(), 12u);
    EXPECT_EQ(out[0], out[1]) << "unchanged: grey";
    EXPECT_EQ(out[3], 255) << "changed by 140: full red";
    EXPECT_EQ(out[4], (200 + 100 + 50) / 9);
    EXPECT_EQ(out[6], (10 + 20 + 30) / 9 + 4) << "changed by 1 in blue";
    EXPECT_DOUBLE_EQ(shadowedShare(unshadowed, shadowed), 0.5);
}

// The crop stays inside the window; the strip lays the crops out left to right, enlarged, top
// row first, with white gaps.
TEST(DocsViews, StripShowsTheSameCropOfEachWindow) {
    const int W = 320, H = 240;
    struct Corner {
        double cx, cy;
        int x, y;
    } corners[] = {{160, 120, 160 - CROP_WIDTH / 2, 120 - CROP_HEIGHT / 2},
                   {0, 0, 0, 0},
                   {1000, 1000, W - CROP_WIDTH, H - CROP_HEIGHT},
                   {-50, 200, 0, H - CROP_HEIGHT}};
    for (const Corner& c : corners) {
        int x = -1, y = -1;
        cropCorner(c.cx, c.cy, W, H, x, y);
        EXPECT_EQ(x, c.x) << "centre " << c.cx;
        EXPECT_EQ(y, c.y) << "centre " << c.cy;
    }
    // Each window's pixel holds its column, row and window number.
    std::vector<unsigned char> windows[2];
    for (int k = 0; k < 2; k++)
        for (int row = 0; row < H; row++)
            for (int col = 0; col < W; col++) {
                windows[k].push_back((unsigned char)col);
                windows[k].push_back((unsigned char)row);
                windows[k].push_back((unsigned char)k);
            }
    const unsigned char* both[2] = {windows[0].data(), windows[1].data()};
    std::vector<unsigned char> strip;
    int width = 0, height = 0;
    stripOfCrops(both, 2, W, 30, 40, strip, width, height);
    ASSERT_EQ(width, 2 * CROP_WIDTH * CROP_ENLARGED + STRIP_GAP);
    ASSERT_EQ(height, CROP_HEIGHT * CROP_ENLARGED);
    auto at = [&](int x, int y) { return &strip[((size_t)y * width + x) * 3]; };
    // Top left of the first crop: window column 30, the crop's top row.
    EXPECT_EQ(at(0, 0)[0], 30);
    EXPECT_EQ(at(0, 0)[1], 40 + CROP_HEIGHT - 1);
    EXPECT_EQ(at(1, 1)[1], 40 + CROP_HEIGHT - 1) << "enlarged by repeating";
    EXPECT_EQ(at(0, height - 1)[1], 40);
    int second = CROP_WIDTH * CROP_ENLARGED + STRIP_GAP;
    EXPECT_EQ(at(second - 1, 5)[0], 255) << "the gap is white";
    EXPECT_EQ(at(second, 0)[2], 1);
    EXPECT_EQ(at(second + 2 * 7, 0)[0], 37);
}

class DocsPassViews : public GlTest {};

// The depth picture's stretch is the light's distance to the ground as geometry gives it: each
// window pixel samples the map's nearest texel, and the ray from the light through that texel
// meets the flat ground at a distance (along the light's axis) the picture must report.
TEST_F(DocsPassViews, DepthPictureStretchIsTheLightsDistanceToTheGround) {
    initSceneAsAtStart();
    buildTestScene();
    ASSERT_TRUE(preparePassViews());
    std::vector<unsigned char> grey;
    DepthStretch stretch = {0, 0};
    drawPassView(VIEW_DEPTH, 0, grey, &stretch);
    ASSERT_EQ(grey.size(), (size_t)windowWidth * windowHeight * 3);

    Vec3f light = lightEyePoint();
    const float* m = lightMatrix;
    double t = std::tan(FIELD_OF_VIEW * M_PI / 360.0), aspect = frameAspect(640, 480);
    std::vector<double> distances(windowWidth * windowHeight, -1.0), drawn;
    for (int y = 0; y < windowHeight; y++)
        for (int x = 0; x < windowWidth; x++) {
            double u =
                (std::floor((x + 0.5) / windowWidth * shadowMapWidth) + 0.5) / shadowMapWidth;
            double v =
                (std::floor((y + 0.5) / windowHeight * shadowMapHeight) + 0.5) / shadowMapHeight;
            double eye[3] = {(2 * u - 1) * t * aspect, (2 * v - 1) * t, -1.0};
            double world[3];
            for (int i = 0; i < 3; i++)
                world[i] = m[4 * i] * eye[0] + m[4 * i + 1] * eye[1] + m[4 * i + 2] * eye[2];
            double s = (TEST_GROUND_Y - light.y) / world[1];
            double gx = light.x + s * world[0], gz = light.z + s * world[2];
            if (s > 0 && std::fabs(gx) < 600 && std::fabs(gz) < 600)
                drawn.push_back(distances[y * windowWidth + x] = s);
        }
    ASSERT_GT(drawn.size(), 1000u);
    std::vector<double> sorted = drawn;
    std::sort(sorted.begin(), sorted.end());
    double nearest = sorted[sorted.size() / 100],
           farthest = sorted[sorted.size() - 1 - sorted.size() / 100];
    EXPECT_NEAR(stretch.nearest, nearest, 0.5);
    EXPECT_NEAR(stretch.farthest, farthest, 0.5);
    for (int y = 40; y < windowHeight; y += 100)
        for (int x = 40; x < windowWidth; x += 100) {
            double d = distances[y * windowWidth + x];
            double share = std::fmin(std::fmax((d - nearest) / (farthest - nearest), 0.0), 1.0);
            EXPECT_NEAR(grey[3 * (y * windowWidth + x)], 255.0 * share, 2.0)
                << "pixel " << x << ", " << y << " at " << d << " units";
        }
}

// The shipped setting rebuilt is the show's own program, pixel for pixel; the other settings
// compile on the desktop's GL and are kept, one program each.
TEST_F(DocsPassViews, ShadowVariantsDrawAsTheShipped) {
    initSceneAsAtStart();
    ASSERT_TRUE(preparePassViews());
    std::vector<unsigned char> shipped, rebuilt;
    drawPassView(VIEW_SHADOWED, 0, shipped, nullptr);
    GLhandleARB program = shadowVariant(SHIPPED_SHADOWS);
    ASSERT_NE(program, 0u);
    EXPECT_NE(program, shadowProgram) << "the show's program must stay its own";
    drawPassView(VIEW_SHADOWED, program, rebuilt, nullptr);
    EXPECT_EQ(shadowedShare(shipped, rebuilt), 0.0);
    EXPECT_EQ(shadowVariant({1.1, false}), program) << "scales are kept to the step";
    const ShadowSetting others[] = {{0.0, false}, {4.0, false}, {1.0, true}};
    for (const ShadowSetting& s : others) {
        GLhandleARB other = shadowVariant(s);
        EXPECT_NE(other, 0u);
        EXPECT_NE(other, program);
        GLint linked = 0;
        extensionEntryPoints.getObjectParameterivARB(other, GL_OBJECT_LINK_STATUS_ARB, &linked);
        EXPECT_TRUE(linked) << "scale " << s.biasScale << ", one tap " << s.oneTap;
    }
    EXPECT_EQ(shadowVariant({-1.0, false}), 0u);
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
