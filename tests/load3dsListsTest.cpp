#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "scene/load3ds.h"
#include "tests/loaderTestFiles.h"

namespace {

SceneObject listRecord; // ~4 MB, so static

// Walks bytes as a whole file held in memory; warnings are swallowed.
void parseQuietly(const Bytes& bytes) {
    std::vector<unsigned char> copy(bytes.begin(), bytes.end());
    testing::internal::CaptureStderr();
    parse3dsChunks(copy.data(), copy.size(), &listRecord, "lists.3ds");
    testing::internal::GetCapturedStderr();
}

} // namespace

TEST(Load3dsLists, CutOffListStoresTheNumberOfWholeRecordsInTheFile) {
    Bytes vertices = vertexList({1, 2, 3, 4, 5, 6, 7, 8, 9});
    Bytes faces = faceList({0, 1, 2, 2, 1, 0, 1, 1, 1});
    struct {
        const char* what;
        Bytes list;
        size_t keep; // bytes of the list chunk left in the file
        int vertexCount, polygonCount;
    } cases[] = {
        {"vertices, 2 of 3", vertices, 6 + 2 + 2 * 12 + 5, 2, 0},
        {"vertices, 0 of 3", vertices, 6 + 2 + 11, 0, 0},
        {"faces, 2 of 3", faces, 6 + 2 + 2 * 8 + 3, 0, 2},
        {"faces, 1 of 3", faces, 6 + 2 + 8, 0, 1},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        memset(&listRecord, 0, sizeof(listRecord));
        listRecord.vertexCount = listRecord.polygonCount = 0;
        Bytes file = c.list;
        file.resize(c.keep);
        parseQuietly(file);
        EXPECT_EQ(listRecord.vertexCount, c.vertexCount);
        EXPECT_EQ(listRecord.polygonCount, c.polygonCount);
    }
}

TEST(Load3dsLists, MappingListLongerThanTheVertexListIsReadWhole) {
    memset(&listRecord, 0, sizeof(listRecord));
    Bytes file = concat({vertexList({0, 0, 0, 1, 0, 0, 0, 1, 0}),
                         mappingList({0.5f, 1, 0.25f, 2, 0.125f, 3, 0.0625f, 4, 7, 8})});
    parseQuietly(file);
    EXPECT_EQ(listRecord.vertexCount, 3) << "mapping coordinates have no count of their own";
    const float expected[5][2] = {{0.5f, 1}, {0.25f, 2}, {0.125f, 3}, {0.0625f, 4}, {7, 8}};
    for (int i = 0; i < 5; i++) {
        EXPECT_EQ(listRecord.texCoords[i].u, expected[i][0]) << "record " << i;
        EXPECT_EQ(listRecord.texCoords[i].v, expected[i][1]) << "record " << i;
    }
    EXPECT_EQ(listRecord.texCoords[5].u, 0.0f) << "nothing past the list";
}
