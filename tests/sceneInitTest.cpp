#include <GL/glew.h>
#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>
#include <string>
#include <unistd.h>

#include "app/eyeOverSand.h"
#include "app/sceneInit.h"
#include "app/window.h"
#include "math/matrix.h"
#include "math/transforms.h"
#include "render/drawObjects.h"
#include "render/renderPasses.h"
#include "render/shaderLoading.h"
#include "render/shadowTarget.h"
#include "scene/groundHeight.h"
#include "scene/sceneStore.h"
#include "scene/textureLoaders.h"
#include "tests/glFixture.h"
#include "tests/renderSceneSupportTest.h"

namespace fs = std::filesystem;

namespace {

class SceneInit : public GlTest {
  protected:
    void SetUp() override {
        if (!fs::exists("res/desert.3ds"))
            GTEST_FAIL() << "generated res/ missing in " << fs::current_path();
        windowWidth = 640;
        windowHeight = 480;
        objectCount = 0;
        bitmapTextureCounter = -1;
        // As at start-up: the light's position is given under the identity modelview.
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    void TearDown() override {
        if (!tempDir.empty()) {
            fs::current_path(DUSTRIDERS_RUN_DIR);
            fs::remove_all(tempDir);
        }
    }
    // A private copy of the run directory's res/ and shaders, made the working directory.
    void useCopyOfRunDirectory() {
        tempDir = fs::temp_directory_path() / ("dustriders-scene-" + std::to_string(getpid()));
        fs::remove_all(tempDir);
        fs::create_directories(tempDir);
        fs::copy("res", tempDir / "res", fs::copy_options::recursive);
        fs::copy("VertexShader.c", tempDir / "VertexShader.c");
        fs::copy("FragmentShader.c", tempDir / "FragmentShader.c");
        fs::current_path(tempDir);
    }
    fs::path tempDir;
};

// The desert scene as the test knows it: model, position, turns about x, y, z in tenths of a
// degree. Written out here, not taken from the code's table.
struct PlacedObject {
    const char* model;
    float x, y, z;
    int ax, ay, az;
};
const PlacedObject DESERT[21] = {
    {"res/desert.3ds", -10, 20, -150, 2700, 0, 900},
    {"res/rock.3ds", -50, 20, -150, 2700, 0, 0},
    {"res/bigrock.3ds", 250, 20, -70, 2700, 0, 900},
    {"res/rechen.3ds", 100, 25, -60, 0, 450, 225},
    {"res/Girl.3ds", 100, 18, -70, 0, 0, 0},
    {"res/Guy.3ds", -60, 15, -70, 0, 0, 0},
    {"res/Held.3ds", 80, 25, 50, 0, 0, 0},
    {"res/cactus.3ds", -200, 18, -250, 0, 0, 0},
    {"res/cactus.3ds", 120, 18, -45, 0, 0, 0},
    {"res/wagenneu1.3ds", -60, 15, -50, 2700, 0, 0},
    {"res/haus.3ds", 80, 50, -150, 2700, 0, 0},
    {"res/fence.3ds", -150, 20, -150, 2700, 0, 900},
    {"res/fence.3ds", -150, 20, -244, 2700, 0, 0},
    {"res/fence.3ds", -60, 20, -244, 2700, 0, 0},
    {"res/fence.3ds", 30, 20, -244, 2700, 0, 0},
    {"res/fence.3ds", -150, 15, -150, 2700, 0, 2700},
    {"res/fence.3ds", -150, 10, -60, 2700, 0, 2700},
    {"res/fence.3ds", -150, 10, 30, 2700, 0, 0},
    {"res/fence.3ds", -60, 10, 30, 2700, 0, 1800},
    {"res/kakadu.3ds", 280, 50, -50, 0, 900, 0},
    {"res/lira.3ds", 60, 10, 45, 2700, 50, 1800},
};

// Textbook rotation block R[row][col] = Rx * Ry * Rz, in double precision from sin and cos.
void referenceTurn(int ax, int ay, int az, double r[3][3]) {
    double angles[3] = {ax * 3.1415 / 1800, ay * 3.1415 / 1800, az * 3.1415 / 1800};
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 3; j++)
            r[i][j] = i == j;
    for (int axis = 0; axis < 3; axis++) {
        double c = cos(angles[axis]), s = sin(angles[axis]);
        int a = (axis + 1) % 3, b = (axis + 2) % 3; // the plane the turn moves: a toward b
        double turn[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
        turn[axis][axis] = 1;
        turn[a][a] = c;
        turn[a][b] = -s;
        turn[b][a] = s;
        turn[b][b] = c;
        double out[3][3];
        for (int i = 0; i < 3; i++)
            for (int j = 0; j < 3; j++)
                out[i][j] = r[i][0] * turn[0][j] + r[i][1] * turn[1][j] + r[i][2] * turn[2][j];
        memcpy(r, out, sizeof(out));
    }
}

void expectPlacedAsRow(int index, const PlacedObject& row) {
    const Mat4& m = sceneObjects[index].matrix;
    EXPECT_FLOAT_EQ(m[12], row.x) << "object " << index << " is not " << row.model;
    EXPECT_FLOAT_EQ(m[13], row.y) << "object " << index << " is not " << row.model;
    EXPECT_FLOAT_EQ(m[14], row.z) << "object " << index << " is not " << row.model;
    double r[3][3];
    referenceTurn(row.ax, row.ay, row.az, r);
    for (int col = 0; col < 3; col++)
        for (int rowIndex = 0; rowIndex < 3; rowIndex++)
            EXPECT_NEAR(m[col * 4 + rowIndex], r[rowIndex][col], 1e-4)
                << "object " << index << " (" << row.model << "), column " << col << " row "
                << rowIndex;
}

} // namespace

TEST_F(SceneInit, LoadsAllTwentyOneObjectsInSceneListOrder) {
    initScene();
    ASSERT_EQ(objectCount, SCENE_LIST_ROWS);
    for (int i = 0; i < SCENE_LIST_ROWS; i++) {
        expectPlacedAsRow(i, DESERT[i]);
        EXPECT_STREQ(sceneList[i].modelPath, DESERT[i].model);
        EXPECT_GT(sceneObjects[i].polygonCount, 0) << DESERT[i].model;
        EXPECT_GE(sceneObjects[i].textureId, 0) << sceneList[i].texturePath;
    }
    // The rake, the wagon and the bird are the ones the script moves by index.
    EXPECT_STREQ(sceneList[3].modelPath, "res/rechen.3ds");
    EXPECT_STREQ(sceneList[9].modelPath, "res/wagenneu1.3ds");
    EXPECT_STREQ(sceneList[19].modelPath, "res/kakadu.3ds");
}

TEST_F(SceneInit, MissingRockShiftsLaterRowsDownAndNamesTheFile) {
    useCopyOfRunDirectory();
    fs::remove("res/rock.3ds");
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    initScene();
    std::string messages = testing::internal::GetCapturedStderr();
    messages += testing::internal::GetCapturedStdout();
    EXPECT_NE(messages.find("res/rock.3ds"), std::string::npos) << messages;
    ASSERT_EQ(objectCount, SCENE_LIST_ROWS - 1);
    expectPlacedAsRow(1, DESERT[2]);
    expectPlacedAsRow(2, DESERT[3]); // the rake
    expectPlacedAsRow(3, DESERT[4]); // the girl
}

// The ground is the desert's by its file: without it no other model, the rock now first in the
// table, is taken for the sand, and the eye is not lifted over it.
TEST_F(SceneInit, MissingDesertLeavesNoGroundAndTheEyeUnlifted) {
    useCopyOfRunDirectory();
    fs::remove("res/desert.3ds");
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    initScene();
    testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(objectCount, SCENE_LIST_ROWS - 1);
    expectPlacedAsRow(0, DESERT[1]); // the rock
    EXPECT_EQ(groundHeightAt(-50, -150), -INFINITY);
    matIdentity(cameraMatrix);
    cameraTranslate(50, -20, 150); // the eye inside the rock
    Mat4 before;
    matCopy(before, cameraMatrix);
    keepEyeOverSand();
    EXPECT_EQ(memcmp(before, cameraMatrix, sizeof before), 0) << "the eye was lifted";
}

TEST_F(SceneInit, PlacesLightCameraAndParticleFacing) {
    initScene();
    // The light's eye sits at its fixed-function position with seven times the height.
    Vec3f light = lightEyePoint();
    EXPECT_NEAR(light.x, 20.0f, 1e-3);
    EXPECT_NEAR(light.y, 560.0f, 1e-3);
    EXPECT_NEAR(light.z, -30.0f, 1e-3);
    // Light turned 80 degrees about x and 180 about z: it looks almost straight down.
    EXPECT_NEAR(lightMatrix[1], 0.0f, 1e-4);
    EXPECT_NEAR(lightMatrix[0], -1.0f, 1e-4);
    EXPECT_NEAR(lightMatrix[10], 0.17365f, 1e-4);
    // The camera's translation (-100, -30, 45), turned with it by 24 degrees about x.
    EXPECT_NEAR(cameraMatrix[12], -100.0f, 1e-4);
    EXPECT_NEAR(cameraMatrix[13], -30.0f * 0.913545f - 45.0f * 0.406737f, 1e-3);
    EXPECT_NEAR(cameraMatrix[14], -30.0f * 0.406737f + 45.0f * 0.913545f, 1e-3);
    EXPECT_FLOAT_EQ(billboardAngles[0], 150.0f);
    EXPECT_FLOAT_EQ(billboardAngles[1], 0.0f);
    EXPECT_FLOAT_EQ(billboardAngles[2], 0.0f);
}

TEST_F(SceneInit, SetsLightOneMaterialAndFixedState) {
    initScene();
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    float position[4], diffuse[4], material[4];
    // Given under the identity modelview, the position stays in eye coordinates as written.
    glGetLightfv(GL_LIGHT1, GL_POSITION, position);
    glGetLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
    glGetMaterialfv(GL_FRONT, GL_SPECULAR, material);
    for (int i = 0; i < 4; i++) {
        EXPECT_FLOAT_EQ(position[i], lightPosition[i]);
        EXPECT_FLOAT_EQ(diffuse[i], lightDiffuse[i]);
        EXPECT_FLOAT_EQ(material[i], materialSpecular[i]);
    }
    GLint polygonMode[2];
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    EXPECT_EQ(polygonMode[0], GL_FILL);
}

TEST_F(SceneInit, ParticleTexturesAreNamesHeldAsFloats) {
    initScene();
    EXPECT_GT(particleMaskTexture, 0.0f);
    EXPECT_GT(particleTexture, 0.0f);
    EXPECT_NE(particleMaskTexture, particleTexture);
    EXPECT_FLOAT_EQ(particleMaskTexture, (float)(unsigned)particleMaskTexture);
    // Each name holds its own file's 256 x 256 RGB image, texel for texel.
    struct {
        float name;
        const char* file;
    } textures[] = {{particleTexture, "res/particle.raw"},
                    {particleMaskTexture, "res/particle_mask.raw"}};
    for (auto& t : textures) {
        std::ifstream in(t.file, std::ios::binary);
        std::vector<unsigned char> file((std::istreambuf_iterator<char>(in)), {});
        ASSERT_EQ(file.size(), 256u * 256u * 3u) << t.file;
        std::vector<unsigned char> texels(file.size());
        glBindTexture(GL_TEXTURE_2D, (GLuint)t.name);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
        EXPECT_TRUE(texels == file) << t.file << " is not what its name holds";
    }
}

TEST_F(SceneInit, ShadowTargetIsCompleteAtFourTimesTheWindow) {
    initScene();
    GLint width = 0, height = 0;
    glBindTexture(GL_TEXTURE_2D, shadowDepthTexture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    EXPECT_EQ(width, 2560);
    EXPECT_EQ(height, 1920);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, shadowFramebuffer);
    EXPECT_EQ(glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT), (GLenum)GL_FRAMEBUFFER_COMPLETE_EXT);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    EXPECT_NE(shadowProgram, 0u);
    EXPECT_NE(shadowMapUniform, -1);
}

// Objects without a bitmap are drawn with one white texel. Like every other resource it is made
// at start-up, after the names that the bitmaps, the particle images and the shadow target are
// handed, and a frame makes no texture of its own.
TEST_F(SceneInit, WhiteTextureForObjectsWithoutBitmapIsMadeAtStartUp) {
    initScene();
    ASSERT_NE(whiteTextureName, 0u) << "no white texture after initialisation";
    ASSERT_TRUE(glIsTexture(whiteTextureName));
    EXPECT_GT(whiteTextureName, (GLuint)particleMaskTexture);
    EXPECT_GT(whiteTextureName, (GLuint)particleTexture);
    EXPECT_GT(whiteTextureName, shadowDepthTexture);
    for (int i = 0; i < objectCount; i++)
        EXPECT_NE(whiteTextureName, (GLuint)sceneObjects[i].textureId) << "object " << i;
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    unsigned char texel[4] = {0, 0, 0, 0};
    glBindTexture(GL_TEXTURE_2D, whiteTextureName);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
    for (int c = 0; c < 4; c++)
        EXPECT_EQ(texel[c], 255) << "channel " << c;
    glBindTexture(GL_TEXTURE_2D, (GLuint)bound);

    // Names are handed out in order: a frame that made a texture would leave a gap between two
    // names asked for around it.
    sceneObjects[objectCount - 1].textureId = -1;
    GLuint before = 0, after = 0;
    glGenTextures(1, &before);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(cameraMatrix);
    drawObjectsLit();
    drawObjectsLit();
    glGenTextures(1, &after);
    EXPECT_EQ(after, before + 1) << "drawing the objects made a texture";
    glActiveTexture(GL_TEXTURE0);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ((GLuint)bound, whiteTextureName) << "the last object, without a bitmap, is drawn "
                                                  "with the white texture made at start-up";
    glDeleteTextures(1, &before);
    glDeleteTextures(1, &after);
}
