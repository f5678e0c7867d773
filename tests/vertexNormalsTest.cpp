#include <gtest/gtest.h>

#include <cstring>

#include "scene/vertexNormals.h"

namespace {

SceneObject record; // ~4 MB, so static

class VertexNormals : public ::testing::Test {
  protected:
    SceneObject* obj = &record;
    void SetUp() override { memset(&record, 0, sizeof(record)); }
    void setMesh(std::initializer_list<Vec3f> vertices, std::initializer_list<Triangle> faces) {
        obj->vertexCount = (int)vertices.size();
        obj->polygonCount = (int)faces.size();
        std::copy(vertices.begin(), vertices.end(), obj->vertices);
        std::copy(faces.begin(), faces.end(), obj->polygons);
    }
};

void expectVec(const Vec3f& v, float x, float y, float z, const char* what) {
    EXPECT_FLOAT_EQ(v.x, x) << what;
    EXPECT_FLOAT_EQ(v.y, y) << what;
    EXPECT_FLOAT_EQ(v.z, z) << what;
}

TEST_F(VertexNormals, CounterClockwiseTriangleFacesTheViewer) {
    setMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}});
    computeVertexNormals(obj);
    for (int v = 0; v < 3; v++)
        expectVec(obj->normals[v], 0, 0, 1, "corner");
}

TEST_F(VertexNormals, FaceNormalIsUnitLengthWhateverTheAngleAtTheFirstCorner) {
    // 45 degrees at the first corner: the cross product of its unit edges is only 0.707 long.
    setMesh({{0, 0, 0}, {2, 0, 0}, {1, 1, 0}}, {{0, 1, 2}});
    computeVertexNormals(obj);
    for (int v = 0; v < 3; v++)
        expectVec(obj->normals[v], 0, 0, 1, "corner");
}

TEST_F(VertexNormals, SharedEdgeOfRightAngleAveragesWithoutRenormalising) {
    // Face one lies in z = 0 (normal +z), face two in x = 0 (normal +x); they share 0 and 1.
    setMesh({{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {0, 0, 1}}, {{0, 2, 1}, {0, 1, 3}});
    computeVertexNormals(obj);
    expectVec(obj->normals[0], 0.5f, 0, 0.5f, "shared 0");
    expectVec(obj->normals[1], 0.5f, 0, 0.5f, "shared 1");
    expectVec(obj->normals[2], 0, 0, 1, "only in the z = 0 face");
    expectVec(obj->normals[3], 1, 0, 0, "only in the x = 0 face");
}

TEST_F(VertexNormals, EqualPositionsWithDifferentIndicesAreNotAveraged) {
    setMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 0}, {0, 1, 0}, {0, 0, 1}},
            {{0, 1, 2}, {3, 4, 5}});
    computeVertexNormals(obj);
    expectVec(obj->normals[0], 0, 0, 1, "first copy");
    expectVec(obj->normals[3], 1, 0, 0, "second copy");
}

TEST_F(VertexNormals, DegenerateTriangleCountsButAddsNothing) {
    // Vertex 3 sits where vertex 0 is, so triangle (0, 3, 1) has no area.
    setMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 0}}, {{0, 1, 2}, {0, 3, 1}});
    computeVertexNormals(obj);
    expectVec(obj->normals[0], 0, 0, 0.5f, "used by both");
    expectVec(obj->normals[1], 0, 0, 0.5f, "used by both");
    expectVec(obj->normals[2], 0, 0, 1, "only in the proper triangle");
    expectVec(obj->normals[3], 0, 0, 0, "only in the degenerate triangle");
}

TEST_F(VertexNormals, IndexPastCountAddsToThatSlotWithoutDividing) {
    setMesh({{0, 0, 0}, {1, 0, 0}}, {{0, 1, 2}});
    obj->vertices[2] = Vec3f{0, 1, 0};
    computeVertexNormals(obj);
    expectVec(obj->normals[0], 0, 0, 1, "inside the count");
    expectVec(obj->normals[2], 0, 0, 1, "outside the count, undivided");
    obj->polygons[0].c = 65535;
    computeVertexNormals(obj);
    EXPECT_FLOAT_EQ(obj->normals[0].z, 0) << "index 65535 reads its zero slot, no crash";
}

TEST_F(VertexNormals, NoTrianglesGivesZeroNormalsAndUnusedVerticesStayZero) {
    setMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {});
    obj->normals[1] = Vec3f{7, 7, 7};
    computeVertexNormals(obj);
    for (int v = 0; v < 3; v++)
        expectVec(obj->normals[v], 0, 0, 0, "no triangles");
}

TEST_F(VertexNormals, IndicesOutsideTheArraysAreIgnored) {
    setMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}, {-1, 1, 2}, {0, MAX_VERTICES, 2}});
    computeVertexNormals(obj);
    expectVec(obj->normals[0], 0, 0, 1, "only the valid triangle");
    expectVec(obj->normals[1], 0, 0, 1, "only the valid triangle");
}

} // namespace
