#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "math/angleTables.h"
#include "scene/addSceneObject.h"
#include "scene/sceneStore.h"
#include "scene/textureLoaders.h"
#include "tests/glFixture.h"
#include "tests/loaderTestFiles.h"

namespace {

class AddSceneObject : public GlTest {
  protected:
    std::string dir, model, bitmap;
    void TearDown() override { removeTempDir(dir); }
    void SetUp() override {
        buildAngleTables();
        objectCount = 0;
        bitmapTextureCounter = -1;
        for (int i = 0; i < 3; i++) {
            memset(sceneObjects[i].name, 0, sizeof(sceneObjects[i].name));
            sceneObjects[i].vertexCount = sceneObjects[i].polygonCount = 0;
            memset(sceneObjects[i].matrix, 0, sizeof(Mat4));
            sceneObjects[i].textureId = 0;
        }
        dir = makeTempDir();
        model = dir + "/tri.3ds";
        ASSERT_TRUE(writeLib3dsMesh(model, "tri", {0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 1, 2},
                                    {0, 0, 1, 0, 0, 1}));
        bitmap = dir + "/tex.bmp";
        writeFile(bitmap, bitmapFile(1, 1, Bytes{0, 0, 255, 0}));
    }
};

TEST_F(AddSceneObject, PlacedEntryHasGeometryTextureNormalsAndMatrix) {
    ASSERT_TRUE(addSceneObject(model.c_str(), bitmap.c_str(), 1.5f, -2, 3, 0, 0, 0));
    EXPECT_EQ(objectCount, 1);
    const SceneObject& entry = sceneObjects[0];
    EXPECT_STREQ(entry.name, "tri");
    EXPECT_EQ(entry.polygonCount, 1);
    EXPECT_EQ(entry.textureId, 0);
    EXPECT_FLOAT_EQ(entry.normals[2].z, 1.0f);
    Mat4 expected = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1.5f, -2, 3, 1};
    for (int i = 0; i < 16; i++)
        EXPECT_FLOAT_EQ(entry.matrix[i], expected[i]) << "element " << i;
}

TEST_F(AddSceneObject, TurnIsAppliedAfterThePosition) {
    // A quarter turn about y keeps the object where it was put.
    ASSERT_TRUE(addSceneObject(model.c_str(), bitmap.c_str(), 4, 5, 6, 0, 900, 0));
    const float* m = sceneObjects[0].matrix;
    EXPECT_FLOAT_EQ(m[12], 4);
    EXPECT_FLOAT_EQ(m[13], 5);
    EXPECT_FLOAT_EQ(m[14], 6);
    EXPECT_NEAR(m[0], 0, 1e-4);
    EXPECT_NEAR(m[5], 1, 1e-4);
}

TEST_F(AddSceneObject, EachTurnArgumentTurnsAboutItsOwnAxis) {
    // Quarter turns written out by hand, column-major elements 0-2, 4-6, 8-10.
    struct {
        int ax, ay, az;
        float block[9];
    } cases[] = {
        {900, 0, 0, {1, 0, 0, 0, 0, 1, 0, -1, 0}},
        {0, 900, 0, {0, 0, -1, 0, 1, 0, 1, 0, 0}},
        {0, 0, 900, {0, 1, 0, -1, 0, 0, 0, 0, 1}},
        {900, 0, 900, {0, 0, 1, -1, 0, 0, 0, -1, 0}}, // x first, then z
    };
    const int index[9] = {0, 1, 2, 4, 5, 6, 8, 9, 10};
    for (auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ax << " " << c.ay << " " << c.az);
        objectCount = 0;
        ASSERT_TRUE(addSceneObject(model.c_str(), bitmap.c_str(), 4, 5, 6, c.ax, c.ay, c.az));
        for (int i = 0; i < 9; i++)
            EXPECT_NEAR(sceneObjects[0].matrix[index[i]], c.block[i], 2e-4f) << index[i];
    }
}

TEST_F(AddSceneObject, MissingModelAddsNothingAndUsesNoTextureName) {
    strcpy(sceneObjects[0].name, "slot");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(addSceneObject((dir + "/absent.3ds").c_str(), bitmap.c_str(), 1, 2, 3, 0, 0, 0));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("3DS file not found"), std::string::npos) << err;
    EXPECT_EQ(err.find("Texture"), std::string::npos) << err;
    EXPECT_EQ(objectCount, 0);
    EXPECT_EQ(bitmapTextureCounter, -1);
    EXPECT_STREQ(sceneObjects[0].name, "slot");
    EXPECT_EQ(sceneObjects[0].matrix[12], 0.0f) << "slot untouched";
    ASSERT_TRUE(addSceneObject(model.c_str(), bitmap.c_str(), 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(sceneObjects[0].textureId, 0) << "the next model takes the slot and name 0";
}

TEST_F(AddSceneObject, MissingBitmapStillAddsAnUntexturedEntry) {
    testing::internal::CaptureStderr();
    ASSERT_TRUE(addSceneObject(model.c_str(), (dir + "/absent.bmp").c_str(), 7, 8, 9, 0, 0, 0));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(objectCount, 1);
    EXPECT_EQ(sceneObjects[0].textureId, -1);
    EXPECT_FLOAT_EQ(sceneObjects[0].normals[0].z, 1.0f);
    EXPECT_FLOAT_EQ(sceneObjects[0].matrix[0], 1.0f);
    EXPECT_FLOAT_EQ(sceneObjects[0].matrix[14], 9.0f);
}

TEST_F(AddSceneObject, SharedBitmapGivesEachEntryItsOwnName) {
    ASSERT_TRUE(addSceneObject(model.c_str(), bitmap.c_str(), 0, 0, 0, 0, 0, 0));
    ASSERT_TRUE(addSceneObject(model.c_str(), bitmap.c_str(), 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(objectCount, 2);
    EXPECT_EQ(sceneObjects[0].textureId, 0);
    EXPECT_EQ(sceneObjects[1].textureId, 1);
}

TEST_F(AddSceneObject, FullTableRefusesWithoutReadingAnything) {
    objectCount = MAX_OBJECTS;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(addSceneObject(model.c_str(), bitmap.c_str(), 0, 0, 0, 0, 0, 0));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(model), std::string::npos) << err;
    EXPECT_EQ(objectCount, MAX_OBJECTS);
    EXPECT_EQ(bitmapTextureCounter, -1) << "no bitmap was read";
    objectCount = 0;
}

TEST_F(AddSceneObject, LoadingTouchesOnlyWhatItWritesInTheSlot) {
    // The table is ~400 MB of zero pages; clearing a whole 4 MB slot would make it resident.
    objectCount = MAX_OBJECTS - 1; // a slot no other test uses
    long before = residentKilobytes();
    ASSERT_TRUE(addSceneObject(model.c_str(), bitmap.c_str(), 0, 0, 0, 0, 0, 0));
    long grown = residentKilobytes() - before;
    EXPECT_LT(grown, 1024) << "kB made resident by one small model";
    objectCount = 0;
}

} // namespace
