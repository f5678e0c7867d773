#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <lib3ds/file.h>
#include <lib3ds/mesh.h>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "app/sceneInit.h"
#include "demo/choreography.h"
#include "math/angleTables.h"
#include "math/matrix.h"
#include "math/transforms.h"
#include "scene/sceneStore.h"

namespace fs = std::filesystem;

static const std::string RES_DIR = DUSTRIDERS_RUN_DIR "/res";
static const std::string GENERATOR = DUSTRIDERS_RUN_DIR "/../tools/generateAssets";

static const char* const MODEL_FILES[] = {
    "desert.3ds",    "rock.3ds", "bigrock.3ds", "rechen.3ds", "Girl.3ds",   "Guy.3ds",  "Held.3ds",
    "wagenneu1.3ds", "haus.3ds", "fence.3ds",   "kakadu.3ds", "cactus.3ds", "lira.3ds",
};
static const char* const BITMAP_FILES[] = {
    "desert.bmp",  "rock.bmp",     "wood.bmp",      "Girl.bmp",   "Guy.bmp",     "Wil1.bmp",
    "cactus1.bmp", "planks04.bmp", "houseroof.bmp", "fence1.bmp", "kakadu2.bmp", "lira.bmp",
};
static const char* const RAW_FILES[] = {"particle_mask.raw", "particle.raw"};

// The model file a scene row loads, without its "res/".
static std::string rowModel(int row) {
    return fs::path(sceneList[row].modelPath).filename().string();
}

// ---- helpers ----

struct Mesh {
    std::vector<Vec3f> points;
    std::vector<int> faces; // three indices per triangle
    size_t texels = 0;
    std::vector<float> uv; // two per point
    int meshCount = 0;
};

static Mesh readModel(const std::string& path) {
    Mesh mesh;
    Lib3dsFile* file = lib3ds_file_load(path.c_str());
    if (!file)
        return mesh;
    for (Lib3dsMesh* m = file->meshes; m; m = m->next) {
        mesh.meshCount++;
        mesh.points.clear();
        mesh.faces.clear();
        for (Lib3dsDword i = 0; i < m->points; i++)
            mesh.points.push_back(
                Vec3f{m->pointL[i].pos[0], m->pointL[i].pos[1], m->pointL[i].pos[2]});
        for (Lib3dsDword i = 0; i < m->faces; i++)
            for (int k = 0; k < 3; k++)
                mesh.faces.push_back(m->faceL[i].points[k]);
        mesh.texels = m->texels;
        mesh.uv.clear();
        for (Lib3dsDword i = 0; i < m->texels; i++)
            mesh.uv.insert(mesh.uv.end(), {m->texelL[i][0], m->texelL[i][1]});
    }
    lib3ds_file_free(file);
    return mesh;
}

static std::string runGenerator(const std::string& dir) {
    std::string output;
    FILE* pipe = popen((GENERATOR + " " + dir).c_str(), "r");
    if (!pipe)
        return output;
    char line[256];
    while (fgets(line, sizeof line, pipe))
        output += line;
    EXPECT_EQ(pclose(pipe), 0) << "generateAssets failed:\n" << output;
    return output;
}

// "name  N triangles  M vertices" lines of the generator's report.
static std::map<std::string, std::pair<int, int>> reportedCounts(const std::string& report) {
    std::map<std::string, std::pair<int, int>> counts;
    char name[64];
    int triangles = 0, vertices = 0;
    size_t start = 0;
    while (start < report.size()) {
        size_t end = report.find('\n', start);
        std::string line = report.substr(start, end - start);
        if (sscanf(line.c_str(), "%63s %d triangles %d vertices", name, &triangles, &vertices) == 3)
            counts[name] = {triangles, vertices};
        start = end == std::string::npos ? report.size() : end + 1;
    }
    return counts;
}

static std::vector<char> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

static uint32_t littleEndian(const std::vector<char>& bytes, size_t at, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; i--)
        value = value << 8 | (unsigned char)bytes[at + i];
    return value;
}

// The row's object matrix, built by the demo's own transforms.
static void rowMatrix(const SceneListRow& row, Mat4& out) {
    static SceneObject object;
    buildAngleTables();
    matIdentity(object.matrix);
    objectSetPosition(object.matrix, row.x, row.y, row.z);
    objectRotate(object.matrix, row.angleX, row.angleY, row.angleZ);
    matCopy(out, object.matrix);
}

static Vec3f transformPoint(const Mat4& m, Vec3f p) {
    return Vec3f{m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12],
                 m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
                 m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]};
}

static std::vector<Vec3f> worldPoints(const SceneListRow& row, const Mesh& mesh) {
    Mat4 m;
    rowMatrix(row, m);
    std::vector<Vec3f> world;
    for (const Vec3f& p : mesh.points)
        world.push_back(transformPoint(m, p));
    return world;
}

// Cross product of a triangle's edges: along its front side, as long as twice its area.
static Vec3f faceNormal(const std::vector<Vec3f>& points, const std::vector<int>& faces, size_t f) {
    const Vec3f &a = points[faces[f]], &b = points[faces[f + 1]], &c = points[faces[f + 2]];
    Vec3f u = {b.x - a.x, b.y - a.y, b.z - a.z}, v = {c.x - a.x, c.y - a.y, c.z - a.z};
    return Vec3f{u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
}

// Highest surface of the triangles straight above or below world (x, z); NAN where there is none.
static float surfaceHeight(const std::vector<Vec3f>& world, const std::vector<int>& faces, float x,
                           float z) {
    float best = NAN;
    for (size_t f = 0; f + 2 < faces.size(); f += 3) {
        const Vec3f &a = world[faces[f]], &b = world[faces[f + 1]], &c = world[faces[f + 2]];
        float d = (b.x - a.x) * (c.z - a.z) - (c.x - a.x) * (b.z - a.z);
        if (fabsf(d) < 1e-9f)
            continue;
        float s = ((x - a.x) * (c.z - a.z) - (c.x - a.x) * (z - a.z)) / d;
        float t = ((b.x - a.x) * (z - a.z) - (x - a.x) * (b.z - a.z)) / d;
        if (s < -1e-5f || t < -1e-5f || s + t > 1 + 1e-5f)
            continue;
        float y = a.y + s * (b.y - a.y) + t * (c.y - a.y);
        if (std::isnan(best) || y > best)
            best = y;
    }
    return best;
}

class SandSurface {
  public:
    SandSurface() {
        Mesh desert = readModel(RES_DIR + "/desert.3ds");
        world = worldPoints(sceneList[0], desert);
        faces = desert.faces;
    }
    float heightAt(float x, float z) const { return surfaceHeight(world, faces, x, z); }
    std::vector<Vec3f> world;
    std::vector<int> faces;
};

// ---- files ----

TEST(AssetFiles, EveryFileTheSceneLoadsExistsWithItsExactName) {
    std::vector<std::string> present;
    for (const auto& entry : fs::directory_iterator(RES_DIR))
        present.push_back(entry.path().filename().string());
    std::vector<std::string> expected(std::begin(MODEL_FILES), std::end(MODEL_FILES));
    expected.insert(expected.end(), std::begin(BITMAP_FILES), std::end(BITMAP_FILES));
    expected.insert(expected.end(), std::begin(RAW_FILES), std::end(RAW_FILES));
    for (int row = 0; row < SCENE_LIST_ROWS; row++) {
        expected.push_back(rowModel(row));
        expected.push_back(fs::path(sceneList[row].texturePath).filename().string());
    }
    for (const std::string& name : expected)
        EXPECT_NE(std::find(present.begin(), present.end(), name), present.end()) << name;
}

TEST(AssetFiles, Lib3dsReadsBackEveryModelWithTheCountsWritten) {
    fs::path dir = fs::temp_directory_path() / ("dustriders-assets-" + std::to_string(getpid()));
    auto counts = reportedCounts(runGenerator(dir.string()));
    fs::remove_all(dir);
    for (const char* name : MODEL_FILES) {
        ASSERT_TRUE(counts.count(name)) << name << " missing from the generator's report";
        Mesh mesh = readModel(RES_DIR + "/" + name);
        EXPECT_EQ(mesh.meshCount, 1) << name;
        EXPECT_EQ((int)mesh.faces.size() / 3, counts[name].first) << name;
        EXPECT_EQ((int)mesh.points.size(), counts[name].second) << name;
        EXPECT_EQ(mesh.texels, mesh.points.size()) << name << ": one mapping coordinate per point";
        for (int index : mesh.faces)
            ASSERT_LT(index, (int)mesh.points.size()) << name;
    }
}

TEST(AssetFiles, BitmapsAreUncompressed24BitSquaresTheLoaderReadsFromOffset54) {
    for (const char* name : BITMAP_FILES) {
        std::vector<char> bytes = fileBytes(RES_DIR + "/" + name);
        ASSERT_GE(bytes.size(), 54u) << name;
        EXPECT_EQ(bytes[0], 'B') << name;
        EXPECT_EQ(bytes[1], 'M') << name;
        uint32_t offset = littleEndian(bytes, 10, 4), width = littleEndian(bytes, 18, 4);
        uint32_t height = littleEndian(bytes, 22, 4);
        EXPECT_EQ(offset, 54u) << name;
        EXPECT_EQ(littleEndian(bytes, 28, 2), 24u) << name;
        EXPECT_EQ(littleEndian(bytes, 30, 4), 0u) << name << ": compressed";
        EXPECT_EQ(width, height) << name;
        EXPECT_TRUE(width == 256 || width == 512) << name << " is " << width << " wide";
        EXPECT_EQ(bytes.size(), 54 + (size_t)width * height * 3) << name;
    }
}

TEST(AssetFiles, ParticleImagesAre256SquareRgbBrightInTheMiddleAndBlackAtTheRim) {
    for (const char* name : RAW_FILES) {
        std::vector<char> bytes = fileBytes(RES_DIR + "/" + name);
        ASSERT_EQ(bytes.size(), 196608u) << name;
        auto level = [&](int x, int y) {
            size_t at = ((size_t)y * 256 + x) * 3;
            return (unsigned char)bytes[at] + (unsigned char)bytes[at + 1] +
                   (unsigned char)bytes[at + 2];
        };
        EXPECT_GT(level(128, 128), 600) << name;
        EXPECT_GE(level(128, 128), level(128, 64)) << name << " is not brightest in the middle";
        if (strcmp(name, "particle.raw") == 0) {
            EXPECT_GT(level(128, 64), level(128, 32)) << "the glow does not fade outward";
        }
        EXPECT_EQ(level(0, 0), 0) << name;
        EXPECT_EQ(level(128, 0), 0) << name;
        EXPECT_EQ(level(255, 128), 0) << name;
    }
}

TEST(AssetFiles, TwoGeneratorRunsWriteIdenticalBytes) {
    fs::path base = fs::temp_directory_path() / ("dustriders-twice-" + std::to_string(getpid()));
    runGenerator((base / "a").string());
    runGenerator((base / "b").string());
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(base / "a")) {
        std::string name = entry.path().filename().string();
        EXPECT_TRUE(fileBytes(entry.path().string()) == fileBytes((base / "b" / name).string()))
            << name << " differs between runs";
        compared++;
    }
    fs::remove_all(base);
    EXPECT_EQ(compared, 27);
}

TEST(AssetFiles, GeneratorWithoutADirectoryExplainsItsUsage) {
    FILE* pipe = popen((GENERATOR + " 2>&1").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char line[256] = "";
    ASSERT_NE(fgets(line, sizeof line, pipe), nullptr);
    EXPECT_NE(pclose(pipe), 0);
    EXPECT_NE(strstr(line, "usage"), nullptr) << line;
}

TEST(AssetFiles, GeneratorThatCannotCreateItsDirectorySaysSoAndFails) {
    fs::path blocker =
        fs::temp_directory_path() / ("dustriders-blocker-" + std::to_string(getpid()));
    std::ofstream(blocker.string()) << "a file, not a directory";
    FILE* pipe = popen((GENERATOR + " " + (blocker / "res").string() + " 2>&1").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char line[256];
    while (fgets(line, sizeof line, pipe))
        output += line;
    int status = pclose(pipe);
    fs::remove(blocker);
    EXPECT_NE(status, 0);
    EXPECT_NE(output.find("cannot create"), std::string::npos) << output;
}

// ---- shape ----

TEST(AssetShape, NoModelHasCollapsedTriangles) {
    for (const char* name : MODEL_FILES) {
        Mesh mesh = readModel(RES_DIR + "/" + name);
        int collapsed = 0;
        for (size_t f = 0; f + 2 < mesh.faces.size(); f += 3) {
            Vec3f n = faceNormal(mesh.points, mesh.faces, f);
            if (sqrtf(n.x * n.x + n.y * n.y + n.z * n.z) < 1e-6f)
                collapsed++;
        }
        EXPECT_EQ(collapsed, 0) << name << ": such triangles shorten their corners' normals";
    }
}

// An inside-out model shows its back faces, which the demo culls: its top would face down.
TEST(AssetShape, EveryPlacedModelFacesUpAtItsTop) {
    for (int row = 0; row < SCENE_LIST_ROWS; row++) {
        Mesh mesh = readModel(RES_DIR + "/" + rowModel(row));
        std::vector<Vec3f> world = worldPoints(sceneList[row], mesh);
        float lowest = INFINITY, highest = -INFINITY;
        for (const Vec3f& p : world) {
            lowest = fminf(lowest, p.y);
            highest = fmaxf(highest, p.y);
        }
        float upward = 0;
        for (size_t f = 0; f + 2 < mesh.faces.size(); f += 3) {
            float top = fmaxf(world[mesh.faces[f]].y,
                              fmaxf(world[mesh.faces[f + 1]].y, world[mesh.faces[f + 2]].y));
            if (top > highest - 0.05f * (highest - lowest))
                upward += faceNormal(world, mesh.faces, f).y; // area-weighted
        }
        EXPECT_GT(upward, 0) << rowModel(row) << " row " << row << " faces down at its top";
    }
}

// ---- budget ----

TEST(AssetBudget, SceneStaysWithin30000TrianglesAndNoModelAbove12000) {
    int total = 0;
    for (int row = 0; row < SCENE_LIST_ROWS; row++) {
        int triangles = (int)readModel(RES_DIR + "/" + rowModel(row)).faces.size() / 3;
        EXPECT_LE(triangles, 12000) << rowModel(row);
        EXPECT_GT(triangles, 0) << rowModel(row);
        total += triangles;
    }
    EXPECT_LE(total, 30000);
}

// ---- placement in the scene ----

TEST(AssetPlacement, SandPassesThroughEveryFigureAndCactusContactPoint) {
    SandSurface sand;
    for (int row : {4, 5, 6, 7, 8}) {
        const SceneListRow& r = sceneList[row];
        EXPECT_NEAR(sand.heightAt(r.x, r.z), r.y, 0.3f) << rowModel(row) << " at row " << row;
    }
}

TEST(AssetPlacement, FiguresAndBirdHaveTheirFeetAtModelHeightZero) {
    for (const char* name : {"Girl.3ds", "Guy.3ds", "Held.3ds", "kakadu.3ds"}) {
        Mesh mesh = readModel(RES_DIR + "/" + name);
        float lowest = INFINITY;
        for (const Vec3f& p : mesh.points)
            lowest = fminf(lowest, p.y);
        EXPECT_NEAR(lowest, 0, 0.3f) << name;
    }
}

TEST(AssetPlacement, SceneryRestsOnTheSandWithoutFloatingOrDrowning) {
    SandSurface sand;
    for (int row : {1, 2, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 20}) {
        const SceneListRow& r = sceneList[row];
        std::vector<Vec3f> world = worldPoints(r, readModel(RES_DIR + "/" + rowModel(row)));
        float lowest = INFINITY, highest = -INFINITY;
        for (const Vec3f& p : world) {
            lowest = fminf(lowest, p.y);
            highest = fmaxf(highest, p.y);
        }
        // Every point of the lowest layer must touch or enter the sand below it.
        for (const Vec3f& p : world) {
            if (p.y > lowest + 0.3f)
                continue;
            float ground = sand.heightAt(p.x, p.z);
            ASSERT_FALSE(std::isnan(ground)) << rowModel(row) << " row " << row << " off the sand";
            EXPECT_LE(p.y, ground + 0.3f)
                << rowModel(row) << " row " << row << " floats at (" << p.x << ", " << p.z << ")";
        }
        EXPECT_GT(highest, sand.heightAt(r.x, r.z) + 2)
            << rowModel(row) << " row " << row << " is buried";
    }
}

TEST(AssetPlacement, WagonWheelsTouchTheSand) {
    SandSurface sand;
    std::vector<Vec3f> world = worldPoints(sceneList[9], readModel(RES_DIR + "/wagenneu1.3ds"));
    float lowest = INFINITY;
    float groundThere = 0;
    for (const Vec3f& p : world) {
        if (p.y < lowest) {
            lowest = p.y;
            groundThere = sand.heightAt(p.x, p.z);
        }
    }
    EXPECT_NEAR(lowest, groundThere, 0.5f);
}

TEST(AssetPlacement, BigRockOffersAFlatTopAtTheBirdsPerch) {
    std::vector<Vec3f> world = worldPoints(sceneList[2], readModel(RES_DIR + "/bigrock.3ds"));
    Mesh rock = readModel(RES_DIR + "/bigrock.3ds");
    const SceneListRow& bird = sceneList[19];
    EXPECT_NEAR(surfaceHeight(world, rock.faces, bird.x, bird.z), bird.y, 0.5f);
    // The bird's feet span about two units around its origin.
    for (float dx : {-1.5f, 1.5f})
        for (float dz : {-1.5f, 1.5f})
            EXPECT_NEAR(surfaceHeight(world, rock.faces, bird.x + dx, bird.z + dz), bird.y, 0.8f);
}

TEST(AssetPlacement, FenceRunsNinetyAlongModelXStandingEightHigh) {
    Mesh fence = readModel(RES_DIR + "/fence.3ds");
    float minX = INFINITY, maxX = -INFINITY, maxZ = -INFINITY, minZ = INFINITY;
    for (const Vec3f& p : fence.points) {
        minX = fminf(minX, p.x);
        maxX = fmaxf(maxX, p.x);
        minZ = fminf(minZ, p.z);
        maxZ = fmaxf(maxZ, p.z);
    }
    EXPECT_NEAR(minX, 0, 1.0f);
    EXPECT_NEAR(maxX, 90, 1.0f);
    EXPECT_NEAR(maxZ, 8, 1.0f);
    EXPECT_LT(minZ, 0) << "posts are set into the sand";
}

// ---- reach to the horizon ----

const float SCENE_CENTRE_X = 25, SCENE_CENTRE_Z = -100; // middle of the detailed sand
const float FAR_PLANE_REACH = 40000;                    // the frame's far plane
// The skyline's landforms stand this far or farther from the scene; nearer, the sand is low.
const float SKYLINE_NEAREST = 4000;

struct Eye {
    Vec3f at, ahead, right; // ahead and right level, of unit length
};

// Eyes of the script's level shots (20 s on), `before` frames a second in its 20th and 21st
// seconds and `from22` after; at most 60 eyes a second.
static std::vector<Eye> lastShotEyes(int before, int from22) {
    buildAngleTables();
    memset(phaseSetupDone, 0, sizeof phaseSetupDone);
    matIdentity(cameraMatrix);
    std::vector<Eye> eyes;
    for (int frame = 0; frame < 2 * before + 2 * from22; frame++) {
        int fps = frame < 2 * before ? before : from22;
        elapsedSeconds =
            frame < 2 * before ? 20 + frame / before : 22 + (frame - 2 * before) / from22;
        runChoreography();
        if (frame % std::max(1, fps / 60) != 0)
            continue;
        // The view's turn R is orthonormal: eye = -R^T t, its axes are the rows of R.
        const Mat4& m = cameraMatrix;
        Vec3f at = {-(m[0] * m[12] + m[1] * m[13] + m[2] * m[14]),
                    -(m[4] * m[12] + m[5] * m[13] + m[6] * m[14]),
                    -(m[8] * m[12] + m[9] * m[13] + m[10] * m[14])};
        eyes.push_back(Eye{at, Vec3f{-m[2], -m[6], -m[10]}, Vec3f{m[0], m[4], m[8]}});
    }
    return eyes;
}

// Wherever a user steers within 2,000 of the scene, sand reaches the far plane; outside the scene's
// own dunes and inside the skyline it stays low enough for an eye at the script's lowest height
// (20) to look over it.
TEST(AssetReach, SandCoversTheFarPlaneBeyond2000FromTheSceneAndStaysLowOutsideIt) {
    SandSurface sand;
    // A coarse lattice over all of it and a finer one where a user steers: no hole anywhere.
    const float lattices[2][2] = {{2000 + FAR_PLANE_REACH, 1000}, {2000, 50}};
    for (const auto& lattice : lattices) {
        for (float dx = -lattice[0]; dx <= lattice[0]; dx += lattice[1]) {
            for (float dz = -lattice[0]; dz <= lattice[0]; dz += lattice[1]) {
                float x = SCENE_CENTRE_X + dx, z = SCENE_CENTRE_Z + dz;
                float ground = sand.heightAt(x, z);
                ASSERT_FALSE(std::isnan(ground)) << "no sand at " << x << ", " << z;
                bool skyline = hypotf(dx, dz) >= SKYLINE_NEAREST;
                if ((fabsf(dx) > 325 || fabsf(dz) > 250) && !skyline) {
                    ASSERT_LE(ground, 20 - 4.5f) << "sand at " << x << ", " << z;
                }
            }
        }
    }
}

// Motion is per frame, so the last shots end farther out the faster the frames come: any steady
// rate, and the slow, uneven rates of a loaded software renderer.
TEST(AssetReach, SandStaysUnderTheScriptsLastEyesAndRunsFarBeyondThemAtAnyFrameRate) {
    SandSurface sand;
    // Frames a second in the 20th and 21st seconds, then in the 22nd and 23rd.
    const int rates[][2] = {{5, 5},       {20, 20}, {30, 30}, {60, 60}, {144, 144}, {240, 240},
                            {1000, 1000}, {4, 13},  {15, 13}, {1, 13},  {15, 15},   {13, 4}};
    for (const auto& rate : rates) {
        int fps = rate[0];
        for (const Eye& eye : lastShotEyes(rate[0], rate[1])) {
            // The near plane lies 10 ahead, 4.1 to each side and below the eye at the frame's
            // edges: sand that rises above its bottom edge hides itself, and the lowest rows
            // look through it at the sky.
            for (float ahead : {0.0f, 5.0f, 10.0f}) {
                for (float side : {-4.5f, 0.0f, 4.5f}) {
                    float x = eye.at.x + ahead * eye.ahead.x + side * eye.right.x;
                    float z = eye.at.z + ahead * eye.ahead.z + side * eye.right.z;
                    ASSERT_LE(sand.heightAt(x, z), eye.at.y - 4.5f)
                        << fps << " then " << rate[1] << " frames a second, eye " << eye.at.x
                        << ", " << eye.at.y << ", " << eye.at.z << ", ground at " << x << ", " << z;
                }
            }
            for (float dx : {-FAR_PLANE_REACH, FAR_PLANE_REACH})
                for (float dz : {-FAR_PLANE_REACH, FAR_PLANE_REACH})
                    ASSERT_FALSE(std::isnan(sand.heightAt(eye.at.x + dx, eye.at.z + dz)))
                        << fps << " frames a second, eye " << eye.at.x << ", " << eye.at.z;
        }
    }
}

// The sand, and every face of the desert that is its highest surface, faces up: the demo culls
// back faces, so a face turned down would leave a hole. Nothing lies under the sand, for the frame
// keeps the eye above it, but the skyline's feet. The skyline stands in the sand in every
// direction, high enough to rise over the horizon.
TEST(AssetReach, SandFacesUpAndTheSkylineStandsInItAllAround) {
    SandSurface sand;
    const int SECTORS = 8;
    const float SKYLINE_HEIGHT = 150; // over the sand where it stands
    const float LANDFORM_RISE = 10;   // a landform's faces rise; the open sand there is level
    bool sectorHasLandform[SECTORS] = {};
    int feet = 0;
    for (size_t f = 0; f < sand.faces.size(); f += 3) {
        const Vec3f* corners[3] = {&sand.world[sand.faces[f]], &sand.world[sand.faces[f + 1]],
                                   &sand.world[sand.faces[f + 2]]};
        float x = 0, y = 0, z = 0;
        for (const Vec3f* c : corners)
            x += c->x / 3, y += c->y / 3, z += c->z / 3;
        bool skyline = hypotf(x - SCENE_CENTRE_X, z - SCENE_CENTRE_Z) >= SKYLINE_NEAREST;
        float rise = fmaxf(corners[0]->y, fmaxf(corners[1]->y, corners[2]->y)) -
                     fminf(corners[0]->y, fminf(corners[1]->y, corners[2]->y));
        if (skyline && rise > LANDFORM_RISE) {
            for (const Vec3f* c : corners) {
                feet += c->y < sand.heightAt(c->x, c->z) - 1;
                float angle = atan2f(c->z - SCENE_CENTRE_Z, c->x - SCENE_CENTRE_X);
                int sector = ((int)floorf(angle / 6.2831853f * SECTORS) + SECTORS) % SECTORS;
                sectorHasLandform[sector] |= c->y > SKYLINE_HEIGHT;
            }
        }
        if (fabsf(sand.heightAt(x, z) - y) > 0.01f) {
            EXPECT_TRUE(skyline) << "triangle " << f / 3 << " lies under the sand at " << x << ", "
                                 << z;
            continue;
        }
        ASSERT_GT(faceNormal(sand.world, sand.faces, f).y, 0)
            << "triangle " << f / 3 << " faces down, at " << x << ", " << y << ", " << z;
    }
    EXPECT_GT(feet, 0) << "no landform reaches down into the sand";
    for (int sector = 0; sector < SECTORS; sector++)
        EXPECT_TRUE(sectorHasLandform[sector])
            << "no landform in sector " << sector << " of " << SECTORS;
}

// Every face of a landform faces outward or up: the demo culls back faces, so a cliff wound the
// other way would show the landform's far inside through its near side. A landform is the faces
// that touch each other (by shared corners) out on the skyline, rising or standing high; each
// cliff's normal points away from the middle of its landform, each top's up.
TEST(AssetReach, EveryLandformFaceFacesOutwardOrUp) {
    SandSurface sand;
    const float LANDFORM_RISE = 10; // a cliff rises this much or more
    const float TOP_OVER = 100;     // a top stands this high or higher; the sand there is low
    std::vector<size_t> landformFaces;
    std::vector<int> group(sand.world.size());
    for (size_t i = 0; i < group.size(); i++)
        group[i] = (int)i;
    std::function<int(int)> root = [&](int i) {
        return group[i] == i ? i : group[i] = root(group[i]);
    };
    std::map<std::tuple<float, float, float>, int> firstAt;
    for (size_t f = 0; f < sand.faces.size(); f += 3) {
        float lowest = INFINITY, highest = -INFINITY, x = 0, z = 0;
        for (int k = 0; k < 3; k++) {
            const Vec3f& c = sand.world[sand.faces[f + k]];
            lowest = fminf(lowest, c.y), highest = fmaxf(highest, c.y);
            x += c.x / 3, z += c.z / 3;
        }
        if (hypotf(x - SCENE_CENTRE_X, z - SCENE_CENTRE_Z) < SKYLINE_NEAREST ||
            (highest - lowest < LANDFORM_RISE && lowest < TOP_OVER))
            continue;
        landformFaces.push_back(f);
        for (int k = 0; k < 3; k++) {
            int v = sand.faces[f + k];
            const Vec3f& c = sand.world[v];
            auto at = firstAt.emplace(std::make_tuple(c.x, c.y, c.z), v).first;
            group[root(v)] = root(at->second);
            group[root(v)] = root(sand.faces[f]);
        }
    }
    // The middle of each landform: the mean of its corners seen from above.
    std::map<int, std::array<double, 3>> middles; // x sum, z sum, count
    for (auto& [position, v] : firstAt) {
        std::array<double, 3>& m = middles[root(v)];
        m[0] += std::get<0>(position), m[1] += std::get<2>(position), m[2]++;
    }
    ASSERT_EQ(middles.size(), 18u) << "landforms found on the skyline";
    int wrong = 0;
    std::string first;
    for (size_t f : landformFaces) {
        Vec3f n = faceNormal(sand.world, sand.faces, f);
        const std::array<double, 3>& m = middles[root(sand.faces[f])];
        double x = 0, z = 0;
        for (int k = 0; k < 3; k++)
            x += sand.world[sand.faces[f + k]].x / 3, z += sand.world[sand.faces[f + k]].z / 3;
        double outward = (x - m[0] / m[2]) * n.x + (z - m[1] / m[2]) * n.z;
        bool flat = fabsf(n.y) > 0.99f * sqrtf(n.x * n.x + n.y * n.y + n.z * n.z);
        if ((flat ? n.y <= 0 : outward <= 0) && wrong++ == 0)
            first = "triangle " + std::to_string(f / 3) + " at " + std::to_string(x) + ", " +
                    std::to_string(z) + (flat ? " faces down" : " faces inward");
    }
    EXPECT_GT(landformFaces.size(), 18u * 14) << "landform faces found";
    EXPECT_EQ(wrong, 0) << wrong << " of " << landformFaces.size() << " landform faces; first "
                        << first;
}

// Texture coordinates change by 1/90 per unit along the ground, perpendicular for u and v, on every
// face that looks more up than sideways.
TEST(AssetReach, SandTextureRepeatsEvery90UnitsFromTheSceneToTheHorizon) {
    Mesh desert = readModel(RES_DIR + "/desert.3ds");
    ASSERT_EQ(desert.uv.size(), 2 * desert.points.size());
    double worst = 0;
    size_t worstFace = 0;
    for (size_t f = 0; f + 2 < desert.faces.size(); f += 3) {
        // Model z is up: the ground spans model x and y.
        int a = desert.faces[f], b = desert.faces[f + 1], c = desert.faces[f + 2];
        double x1 = desert.points[b].x - desert.points[a].x,
               y1 = desert.points[b].y - desert.points[a].y;
        double x2 = desert.points[c].x - desert.points[a].x,
               y2 = desert.points[c].y - desert.points[a].y;
        double det = x1 * y2 - x2 * y1;
        // The skyline's cliffs run the texture up their sides.
        double z1 = desert.points[b].z - desert.points[a].z,
               z2 = desert.points[c].z - desert.points[a].z;
        double normalX = y1 * z2 - z1 * y2, normalY = z1 * x2 - x1 * z2;
        if (std::fabs(det) < std::hypot(normalX, normalY))
            continue;
        double grad[2][2];
        for (int k = 0; k < 2; k++) {
            double d1 = desert.uv[2 * b + k] - desert.uv[2 * a + k];
            double d2 = desert.uv[2 * c + k] - desert.uv[2 * a + k];
            grad[k][0] = (d1 * y2 - d2 * y1) / det;
            grad[k][1] = (x1 * d2 - x2 * d1) / det;
        }
        double deviation =
            std::max({std::fabs(std::hypot(grad[0][0], grad[0][1]) * 90 - 1),
                      std::fabs(std::hypot(grad[1][0], grad[1][1]) * 90 - 1),
                      std::fabs(grad[0][0] * grad[1][0] + grad[0][1] * grad[1][1]) * 8100});
        if (deviation > worst)
            worst = deviation, worstFace = f / 3;
    }
    EXPECT_LT(worst, 1e-3) << "triangle " << worstFace << " maps the sand at another scale";
}
