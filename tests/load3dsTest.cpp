#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "scene/load3ds.h"
#include "tests/loaderTestFiles.h"

namespace {

SceneObject record; // one record reused by every test; ~4 MB, so static

class Load3ds : public ::testing::Test {
  protected:
    SceneObject* obj = &record;
    std::string dir;
    void TearDown() override { removeTempDir(dir); }
    void SetUp() override {
        memset(&record, 0, sizeof(record));
        dir = makeTempDir();
    }
    // Parses from a heap copy of exactly the file's size, so a sanitizer sees any overread.
    bool parse(const Bytes& bytes) {
        unsigned char* copy = (unsigned char*)calloc(bytes.size() + 1, 1);
        if (!bytes.empty())
            memcpy(copy, bytes.data(), bytes.size());
        bool walked = parse3dsChunks(copy, bytes.size(), obj, "test.3ds");
        free(copy);
        return walked;
    }
};

const std::vector<float> QUAD_XYZ = {0, 0, 0, 1.5f, 0, 0, 1.5f, 2, 0, 0, 2, -0.25f};
const std::vector<unsigned> QUAD_FACES = {0, 1, 2, 0, 2, 3};
const std::vector<float> QUAD_UV = {0, 0, 1, 0, 1, 1, 0, 0.5f};

void expectVertices(const SceneObject& o, const std::vector<float>& xyz) {
    for (size_t i = 0; i < xyz.size() / 3; i++) {
        EXPECT_EQ(o.vertices[i].x, xyz[i * 3]) << "vertex " << i;
        EXPECT_EQ(o.vertices[i].y, xyz[i * 3 + 1]) << "vertex " << i;
        EXPECT_EQ(o.vertices[i].z, xyz[i * 3 + 2]) << "vertex " << i;
    }
}

TEST_F(Load3ds, Lib3dsMeshReadsBackExactly) {
    std::string path = dir + "/quad.3ds";
    ASSERT_TRUE(writeLib3dsMesh(path, "quad", QUAD_XYZ, QUAD_FACES, QUAD_UV));
    ASSERT_TRUE(load3dsFile(obj, path.c_str()));
    EXPECT_STREQ(obj->name, "quad");
    EXPECT_EQ(obj->vertexCount, 4);
    EXPECT_EQ(obj->polygonCount, 2);
    expectVertices(*obj, QUAD_XYZ);
    for (int i = 0; i < 2; i++) {
        EXPECT_EQ(obj->polygons[i].a, (int)QUAD_FACES[i * 3]) << "face " << i;
        EXPECT_EQ(obj->polygons[i].b, (int)QUAD_FACES[i * 3 + 1]) << "face " << i;
        EXPECT_EQ(obj->polygons[i].c, (int)QUAD_FACES[i * 3 + 2]) << "face " << i;
    }
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(obj->texCoords[i].u, QUAD_UV[i * 2]) << "texel " << i;
        EXPECT_EQ(obj->texCoords[i].v, QUAD_UV[i * 2 + 1]) << "texel " << i;
    }
}

TEST_F(Load3ds, Lib3dsMeshWithoutMappingKeepsZeroTexCoords) {
    std::string path = dir + "/plain.3ds";
    ASSERT_TRUE(writeLib3dsMesh(path, "plain", QUAD_XYZ, QUAD_FACES, {}));
    ASSERT_TRUE(load3dsFile(obj, path.c_str()));
    EXPECT_EQ(obj->vertexCount, 4);
    for (int i = 0; i < 4; i++)
        EXPECT_TRUE(obj->texCoords[i].u == 0 && obj->texCoords[i].v == 0) << "texel " << i;
}

TEST_F(Load3ds, MissingFileIsReportedAndLeavesRecordUntouched) {
    strcpy(obj->name, "before");
    obj->vertexCount = 5;
    std::string path = dir + "/absent.3ds";
    testing::internal::CaptureStderr();
    EXPECT_FALSE(load3dsFile(obj, path.c_str()));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Dust Riders: 3DS file not found (" + path + ")"), std::string::npos) << err;
    EXPECT_FALSE(load3dsFile(obj, nullptr));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(load3dsFile(obj, dir.c_str())) << "a directory opens but cannot be read";
    testing::internal::GetCapturedStderr();
    EXPECT_STREQ(obj->name, "before");
    EXPECT_EQ(obj->vertexCount, 5);
}

TEST_F(Load3ds, EmptyOrHeaderOnlyFilesChangeNothing) {
    EXPECT_TRUE(parse(Bytes()));
    EXPECT_TRUE(parse(chunk(0x4D4D, Bytes())));
    EXPECT_TRUE(parse(Bytes{0x4D, 0x4D, 0x20}));
    EXPECT_EQ(obj->name[0], '\0');
    EXPECT_EQ(obj->vertexCount, 0);
    EXPECT_EQ(obj->polygonCount, 0);
}

TEST_F(Load3ds, LastObjectAndLastListOfEachKindWin) {
    Bytes first = objectBlock(
        "first",
        chunk(0x4100, concat({vertexList(QUAD_XYZ), faceList(QUAD_FACES), mappingList(QUAD_UV)})));
    std::vector<float> triXyz = {9, 8, 7, 6, 5, 4, 3, 2, 1};
    Bytes second =
        objectBlock("second", chunk(0x4100, concat({vertexList(triXyz), faceList({2, 1, 0}),
                                                    mappingList({0.5f, 0.25f})})));
    ASSERT_TRUE(parse(meshFile(concat({first, second}))));
    EXPECT_STREQ(obj->name, "second");
    EXPECT_EQ(obj->vertexCount, 3);
    EXPECT_EQ(obj->polygonCount, 1);
    expectVertices(*obj, triXyz);
    EXPECT_EQ(obj->polygons[0].a, 2);
    EXPECT_EQ(obj->polygons[1].c, 3) << "an earlier, longer list keeps its tail";
    EXPECT_EQ(obj->texCoords[0].u, 0.5f);
    EXPECT_EQ(obj->texCoords[1].u, 1.0f) << "a shorter last mapping list keeps earlier texels";
}

TEST_F(Load3ds, IndexFFFFIsStoredAs65535) {
    ASSERT_TRUE(parse(meshFile(objectBlock("m", chunk(0x4100, faceList({0xFFFF, 0, 0x8000}))))));
    EXPECT_EQ(obj->polygons[0].a, 65535);
    EXPECT_EQ(obj->polygons[0].c, 32768);
}

TEST_F(Load3ds, NameOf19CharactersKeepsTerminatorAndWalkContinues) {
    const char* name = "abcdefghijklmnopqrs";
    ASSERT_TRUE(parse(meshFile(objectBlock(name, chunk(0x4100, vertexList({1, 2, 3}))))));
    EXPECT_STREQ(obj->name, name);
    EXPECT_EQ(obj->vertexCount, 1);
    EXPECT_EQ(obj->vertices[0].z, 3.0f);
}

TEST_F(Load3ds, OverlongNameIsCutTo19AndWalkStaysAligned) {
    testing::internal::CaptureStderr();
    ASSERT_TRUE(parse(
        meshFile(objectBlock("abcdefghijklmnopqrstuvwxyz", chunk(0x4100, vertexList({1, 2, 3}))))));
    testing::internal::GetCapturedStderr();
    EXPECT_STREQ(obj->name, "abcdefghijklmnopqrs");
    EXPECT_EQ(obj->vertexCount, 1);
    EXPECT_EQ(obj->vertices[0].x, 1.0f);
}

TEST_F(Load3ds, UnknownChunksAtAnyDepthAreSkippedWhole) {
    // Each skipped chunk holds bytes that would be a vertex list if the walk looked inside.
    Bytes decoy = vertexList({-1, -1, -1, -1, -1, -1});
    Bytes mesh =
        chunk(0x4100, concat({chunk(0x4160, decoy), vertexList({1, 2, 3}),
                              faceList({0, 0, 0}, chunk(0x4130, decoy)), chunk(0x4150, decoy)}));
    Bytes editor = chunk(0x3D3D, concat({chunk(0x3D3E, decoy), chunk(0xAFFF, decoy),
                                         objectBlock("kept", mesh), chunk(0x0100, decoy)}));
    Bytes file = chunk(0x4D4D, concat({chunk(0x0002, decoy), editor, chunk(0xB000, decoy)}));
    ASSERT_TRUE(parse(file));
    EXPECT_STREQ(obj->name, "kept");
    EXPECT_EQ(obj->vertexCount, 1);
    EXPECT_EQ(obj->vertices[0].x, 1.0f);
    EXPECT_EQ(obj->polygonCount, 1);
}

// Only a skipped chunk moves by its length; the chunks the walk steps into and the data chunks
// are read whatever their length field says.
TEST_F(Load3ds, ChunkLengthBelowSixEndsTheWalkOnlyWhereAChunkIsSkipped) {
    Bytes file = chunk(
        0x4D4D,
        chunk(0x3D3D,
              objectBlock("short", chunk(0x4100, concat({vertexList({1, 2, 3}), faceList({0, 0, 0}),
                                                         mappingList({4, 5})})))));
    // Header offsets of main, editor, object, mesh, vertices, faces and mapping chunks.
    const size_t headers[] = {0, 6, 12, 24, 30, 50, 66};
    for (uint32_t length = 0; length < 6; length++) {
        memset(&record, 0, sizeof(record));
        Bytes shortLengths = file;
        for (size_t at : headers) {
            Bytes field;
            putU32(field, length);
            std::copy(field.begin(), field.end(), shortLengths.begin() + at + 2);
        }
        testing::internal::CaptureStderr();
        EXPECT_TRUE(parse(shortLengths));
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "length " << length;
        EXPECT_STREQ(obj->name, "short") << "length " << length;
        EXPECT_EQ(obj->vertexCount, 1) << "length " << length;
        EXPECT_EQ(obj->polygonCount, 1) << "length " << length;
        EXPECT_EQ(obj->texCoords[0].v, 5.0f) << "length " << length;

        memset(&record, 0, sizeof(record));
        Bytes skipped;
        putU16(skipped, 0x0002);
        putU32(skipped, length);
        testing::internal::CaptureStderr();
        EXPECT_TRUE(parse(concat({skipped, vertexList({1, 2, 3})})));
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(obj->vertexCount, 0) << "skipped chunk of length " << length;
        EXPECT_NE(err.find("test.3ds"), std::string::npos) << err;
    }
}

TEST_F(Load3ds, SkippedChunkReachingPastTheEndEndsTheWalk) {
    Bytes bad;
    putU16(bad, 0x0002);
    putU32(bad, 0xFFFFFFF0u);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(parse(concat({bad, vertexList({1, 2, 3})})));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(obj->vertexCount, 0);
}

TEST_F(Load3ds, CutOffListsStoreTheRecordsReadAndWarnWithThePath) {
    struct Case {
        Bytes list;
        size_t keep; // bytes of the list chunk left in the file
    };
    std::vector<float> xyz = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    Bytes vertices = vertexList(xyz);
    Bytes faces = faceList({0, 1, 2, 2, 1, 0, 1, 1, 1});
    Bytes mapping = mappingList({1, 2, 3, 4, 5, 6});
    std::string path = dir + "/cut.3ds";
    // Two whole records and part of the third, each time.
    for (const Case& c : {Case{vertices, 6 + 2 + 2 * 12 + 5}, Case{faces, 6 + 2 + 2 * 8 + 3},
                          Case{mapping, 6 + 2 + 2 * 8 + 7}}) {
        memset(&record, 0, sizeof(record));
        Bytes file = concat({chunk(0x4D4D, Bytes()), c.list});
        file.resize(6 + c.keep);
        writeFile(path, file);
        testing::internal::CaptureStderr();
        EXPECT_TRUE(load3dsFile(obj, path.c_str()));
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find(path), std::string::npos) << "warning names the file: " << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    }
    // The last run cut the mapping list: two texels read, the third left alone.
    EXPECT_EQ(obj->texCoords[1].v, 4.0f);
    EXPECT_EQ(obj->texCoords[2].u, 0.0f);

    memset(&record, 0, sizeof(record));
    Bytes file = concat({vertices, faces});
    file.resize(vertices.size() + 6 + 2 + 8 + 1);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(parse(file));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(obj->vertexCount, 3);
    EXPECT_EQ(obj->polygonCount, 1) << "count is what was read, not what the header says";

    memset(&record, 0, sizeof(record));
    obj->vertexCount = 42;
    file = vertices;
    file.resize(7); // the header and half the count
    testing::internal::CaptureStderr();
    EXPECT_TRUE(parse(file));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(obj->vertexCount, 42) << "a list without its count changes nothing";
}

TEST_F(Load3ds, EveryPrefixOfAValidFileIsReadWithinItsBytes) {
    std::string path = dir + "/whole.3ds";
    ASSERT_TRUE(writeLib3dsMesh(path, "whole", QUAD_XYZ, QUAD_FACES, QUAD_UV));
    FILE* file = fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    Bytes bytes(4096);
    bytes.resize(fread(bytes.data(), 1, bytes.size(), file));
    fclose(file);
    testing::internal::CaptureStderr();
    for (size_t length = 0; length <= bytes.size(); length++) {
        Bytes prefix(bytes.begin(), bytes.begin() + length);
        ASSERT_TRUE(parse(prefix)) << "prefix " << length;
        ASSERT_LE(obj->vertexCount, 4);
        ASSERT_LE(obj->polygonCount, 2);
    }
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(obj->vertexCount, 4);
}

} // namespace
