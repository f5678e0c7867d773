// The rake, the three figures and the cockatoo as the demo reads them from res/: solid, outward
// facing surfaces and the orientations the scene and its script rely on.
#include <gtest/gtest.h>

#include <cmath>
#include <lib3ds/file.h>
#include <lib3ds/mesh.h>
#include <map>
#include <stb_image.h>
#include <string>
#include <tuple>
#include <vector>

static const std::string CHARACTER_RES = DUSTRIDERS_RUN_DIR "/res";
static const char* const CHARACTER_MODELS[] = {"rechen.3ds", "Girl.3ds", "Guy.3ds", "Held.3ds",
                                               "kakadu.3ds"};

// ---- helpers ----

struct CharacterMesh {
    std::vector<float> xyz; // three per point
    std::vector<float> uv;  // two per point
    std::vector<int> faces; // three per triangle
};

static CharacterMesh readCharacter(const std::string& name) {
    CharacterMesh mesh;
    Lib3dsFile* file = lib3ds_file_load((CHARACTER_RES + "/" + name).c_str());
    if (!file)
        return mesh;
    for (Lib3dsMesh* m = file->meshes; m; m = m->next) {
        int base = (int)mesh.xyz.size() / 3;
        for (unsigned i = 0; i < m->points; i++) {
            mesh.xyz.insert(mesh.xyz.end(),
                            {m->pointL[i].pos[0], m->pointL[i].pos[1], m->pointL[i].pos[2]});
            float u = i < m->texels ? m->texelL[i][0] : 0, v = i < m->texels ? m->texelL[i][1] : 0;
            mesh.uv.insert(mesh.uv.end(), {u, v});
        }
        for (unsigned i = 0; i < m->faces; i++)
            for (int k = 0; k < 3; k++)
                mesh.faces.push_back(base + m->faceL[i].points[k]);
    }
    lib3ds_file_free(file);
    return mesh;
}

// Points at the same place (to 1e-4) get the same id, so seams and caps count as joined.
static std::vector<int> weldedIds(const CharacterMesh& mesh) {
    std::map<std::tuple<long, long, long>, int> ids;
    std::vector<int> out;
    for (size_t i = 0; i < mesh.xyz.size(); i += 3) {
        auto key =
            std::make_tuple(std::lround(mesh.xyz[i] * 1e4), std::lround(mesh.xyz[i + 1] * 1e4),
                            std::lround(mesh.xyz[i + 2] * 1e4));
        auto found = ids.emplace(key, (int)ids.size());
        out.push_back(found.first->second);
    }
    return out;
}

static int findRoot(std::vector<int>& parent, int i) {
    while (parent[i] != i)
        i = parent[i] = parent[parent[i]];
    return i;
}

// Signed volume enclosed by each connected part (joined through shared welded points).
static std::vector<double> partVolumes(const CharacterMesh& mesh, const std::vector<int>& ids) {
    int count = 0;
    for (int id : ids)
        count = std::max(count, id + 1);
    std::vector<int> parent(count);
    for (int i = 0; i < count; i++)
        parent[i] = i;
    for (size_t f = 0; f < mesh.faces.size(); f += 3)
        for (int k = 1; k < 3; k++)
            parent[findRoot(parent, ids[mesh.faces[f + k]])] = findRoot(parent, ids[mesh.faces[f]]);
    std::map<int, double> volumes;
    for (size_t f = 0; f < mesh.faces.size(); f += 3) {
        const float* a = &mesh.xyz[mesh.faces[f] * 3];
        const float* b = &mesh.xyz[mesh.faces[f + 1] * 3];
        const float* c = &mesh.xyz[mesh.faces[f + 2] * 3];
        double det = a[0] * ((double)b[1] * c[2] - (double)b[2] * c[1]) -
                     a[1] * ((double)b[0] * c[2] - (double)b[2] * c[0]) +
                     a[2] * ((double)b[0] * c[1] - (double)b[1] * c[0]);
        volumes[findRoot(parent, ids[mesh.faces[f]])] += det / 6;
    }
    std::vector<double> out;
    for (const auto& entry : volumes)
        out.push_back(entry.second);
    return out;
}

// The point furthest along the axis in the given direction (+1 largest, -1 smallest).
static int furthestPoint(const CharacterMesh& mesh, int axis, float direction) {
    int best = 0;
    for (size_t i = 0; i < mesh.xyz.size() / 3; i++)
        if (direction * mesh.xyz[i * 3 + axis] > direction * mesh.xyz[best * 3 + axis])
            best = (int)i;
    return best;
}

struct Texture {
    unsigned char* texels = nullptr; // rows top down, as stb reads a bitmap
    int width = 0, height = 0;
};

static Texture loadTexture(const std::string& name) {
    Texture t;
    int channels = 0;
    t.texels = stbi_load((CHARACTER_RES + "/" + name).c_str(), &t.width, &t.height, &channels, 3);
    return t;
}

// The texel a mapping coordinate lands on; v = 0 is the bitmap's bottom row.
static const unsigned char* texelAt(const Texture& t, float u, float v) {
    int x = std::max(0, std::min(t.width - 1, (int)(u * t.width)));
    int y = std::max(0, std::min(t.height - 1, (int)((1 - v) * t.height)));
    return &t.texels[((size_t)y * t.width + x) * 3];
}

TEST(CharacterModels, EverySurfaceIsClosedWithEachEdgeSharedByTwoOppositeFacesOfSomeArea) {
    for (const char* name : CHARACTER_MODELS) {
        CharacterMesh mesh = readCharacter(name);
        ASSERT_FALSE(mesh.faces.empty()) << name << " could not be read";
        std::vector<int> ids = weldedIds(mesh);
        std::map<std::pair<int, int>, int> directed;
        for (size_t f = 0; f < mesh.faces.size(); f += 3)
            for (int k = 0; k < 3; k++)
                directed[{ids[mesh.faces[f + k]], ids[mesh.faces[f + (k + 1) % 3]]}]++;
        // A zero-area triangle adds a zero normal to its corners' averages and darkens them.
        int degenerate = 0;
        for (size_t f = 0; f < mesh.faces.size(); f += 3) {
            const float* a = &mesh.xyz[mesh.faces[f] * 3];
            const float* b = &mesh.xyz[mesh.faces[f + 1] * 3];
            const float* c = &mesh.xyz[mesh.faces[f + 2] * 3];
            float e1[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
            float e2[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
            float n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                          e1[0] * e2[1] - e1[1] * e2[0]};
            if (n[0] * n[0] + n[1] * n[1] + n[2] * n[2] < 1e-14f)
                degenerate++;
        }
        EXPECT_EQ(degenerate, 0) << name << " has triangles without area";
        int open = 0, doubled = 0;
        for (const auto& edge : directed) {
            auto twin = directed.find({edge.first.second, edge.first.first});
            if (twin == directed.end())
                open++;
            else if (edge.second != 1 || twin->second != 1)
                doubled++;
        }
        EXPECT_EQ(open, 0) << name << " has edges with no opposite face (holes or flipped faces)";
        EXPECT_EQ(doubled, 0) << name << " has edges used in the same direction more than once";
    }
}

TEST(CharacterModels, EveryPartFacesOutwardEnclosingAPositiveVolume) {
    for (const char* name : CHARACTER_MODELS) {
        CharacterMesh mesh = readCharacter(name);
        std::vector<double> volumes = partVolumes(mesh, weldedIds(mesh));
        ASSERT_FALSE(volumes.empty()) << name;
        for (size_t i = 0; i < volumes.size(); i++)
            EXPECT_GT(volumes[i], 0.0) << name << ": part " << i << " is inside out";
    }
}

TEST(CharacterModels, EveryPointMapsInsideItsTextureOntoPaintedTexels) {
    const char* const pairs[][2] = {{"rechen.3ds", "wood.bmp"},
                                    {"Girl.3ds", "Girl.bmp"},
                                    {"Guy.3ds", "Guy.bmp"},
                                    {"Held.3ds", "Wil1.bmp"},
                                    {"kakadu.3ds", "kakadu2.bmp"}};
    for (const auto& pair : pairs) {
        CharacterMesh mesh = readCharacter(pair[0]);
        Texture texture = loadTexture(pair[1]);
        ASSERT_NE(texture.texels, nullptr) << pair[1];
        int outside = 0, unpainted = 0;
        for (size_t i = 0; i < mesh.uv.size(); i += 2) {
            float u = mesh.uv[i], v = mesh.uv[i + 1];
            if (u < 0 || u > 1 || v < 0 || v > 1) {
                outside++;
                continue;
            }
            const unsigned char* p = texelAt(texture, u, v);
            if (p[0] == 0 && p[1] == 0 && p[2] == 0)
                unpainted++;
        }
        EXPECT_EQ(outside, 0) << pair[0] << " maps points outside its texture";
        EXPECT_EQ(unpainted, 0) << pair[0] << " maps points onto unpainted texels of " << pair[1];
        stbi_image_free(texture.texels);
    }
}

TEST(CharacterModels, FiguresStandTwelveToFourteenUnitsTallAroundTheirOrigin) {
    for (const char* name : {"Girl.3ds", "Guy.3ds", "Held.3ds"}) {
        CharacterMesh mesh = readCharacter(name);
        ASSERT_FALSE(mesh.xyz.empty()) << name;
        float top = mesh.xyz[furthestPoint(mesh, 1, 1) * 3 + 1];
        EXPECT_GE(top, 12.0f) << name;
        EXPECT_LE(top, 14.2f) << name;
        // Standing over the origin: the feet are not off to one side.
        for (int axis : {0, 2}) {
            float low = mesh.xyz[furthestPoint(mesh, axis, -1) * 3 + axis];
            float high = mesh.xyz[furthestPoint(mesh, axis, 1) * 3 + axis];
            EXPECT_LT(std::fabs(low + high), 2.0f) << name << " axis " << axis;
        }
    }
}

TEST(CharacterModels, CockatooLeadsWithItsDarkBeakTowardMinusZUnderAYellowCrest) {
    CharacterMesh mesh = readCharacter("kakadu.3ds");
    ASSERT_FALSE(mesh.xyz.empty());
    Texture texture = loadTexture("kakadu2.bmp");
    ASSERT_NE(texture.texels, nullptr);
    auto texelOf = [&](int point) {
        return texelAt(texture, mesh.uv[point * 2], mesh.uv[point * 2 + 1]);
    };
    auto brightness = [&](int point) {
        const unsigned char* p = texelOf(point);
        return (p[0] + p[1] + p[2]) / 3;
    };
    int front = furthestPoint(mesh, 2, -1), back = furthestPoint(mesh, 2, 1);
    EXPECT_LT(brightness(front), 90) << "the point furthest toward -z is not the dark beak";
    EXPECT_GT(brightness(back), 150) << "the point furthest toward +z is not white tail feather";
    // The crest crowns the bird: its highest point is sulphur yellow.
    const unsigned char* crest = texelOf(furthestPoint(mesh, 1, 1));
    EXPECT_GT(crest[0], 150);
    EXPECT_GT(crest[1], 120);
    EXPECT_LT(crest[2], crest[1] - 60) << "the highest point is not yellow";
    float length = mesh.xyz[back * 3 + 2] - mesh.xyz[front * 3 + 2];
    EXPECT_GE(length, 3.5f);
    EXPECT_LE(length, 5.5f);
    stbi_image_free(texture.texels);
}

TEST(CharacterModels, RakeHandleRunsAlongTheDiagonalWithThePegsAtTheMinusEnd) {
    CharacterMesh mesh = readCharacter("rechen.3ds");
    ASSERT_FALSE(mesh.xyz.empty());
    float alongMin = 1e9f, alongMax = -1e9f, acrossMax = 0;
    for (size_t i = 0; i < mesh.xyz.size(); i += 3) {
        float along = (mesh.xyz[i] + mesh.xyz[i + 2]) * 0.70710678f;
        float across = (mesh.xyz[i] - mesh.xyz[i + 2]) * 0.70710678f;
        alongMin = std::min(alongMin, along);
        alongMax = std::max(alongMax, along);
        acrossMax = std::max(acrossMax, std::fabs(across));
    }
    EXPECT_GT(alongMax - alongMin, 4 * acrossMax) << "the rake is not long along (1, 0, 1)";
    int peg = furthestPoint(mesh, 1, -1);
    float pegAlong = (mesh.xyz[peg * 3] + mesh.xyz[peg * 3 + 2]) * 0.70710678f;
    EXPECT_LT(pegAlong, alongMin + 0.2f * (alongMax - alongMin))
        << "pegs are not at the -x, -z end";
    // Turned as its scene row turns it (Ry 45 after Rz 22.5), the pegs reach about 7 below
    // the origin, where the sand lies.
    float lowest = 1e9f;
    const float SIN = 0.38268343f, COS = 0.92387953f;
    for (size_t i = 0; i < mesh.xyz.size(); i += 3)
        lowest = std::min(lowest, SIN * mesh.xyz[i] + COS * mesh.xyz[i + 1]);
    EXPECT_GT(lowest, -8.0f);
    EXPECT_LT(lowest, -6.0f);
}
