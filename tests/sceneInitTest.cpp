#include <GL/glew.h>
#include <gtest/gtest.h>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "app/sceneInit.h"
#include "app/window.h"
#include "math/transforms.h"
#include "render/renderPasses.h"
#include "render/shaderLoading.h"
#include "render/shadowTarget.h"
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

void expectPlacedAsRow(int index, const SceneListRow& row) {
    const Mat4& m = sceneObjects[index].matrix;
    EXPECT_FLOAT_EQ(m[12], row.x) << "object " << index << " is not " << row.modelPath;
    EXPECT_FLOAT_EQ(m[13], row.y) << "object " << index << " is not " << row.modelPath;
    EXPECT_FLOAT_EQ(m[14], row.z) << "object " << index << " is not " << row.modelPath;
}

} // namespace

TEST_F(SceneInit, LoadsAllTwentyOneObjectsInSceneListOrder) {
    initScene();
    ASSERT_EQ(objectCount, SCENE_LIST_ROWS);
    for (int i = 0; i < SCENE_LIST_ROWS; i++) {
        expectPlacedAsRow(i, sceneList[i]);
        EXPECT_GT(sceneObjects[i].polygonCount, 0) << sceneList[i].modelPath;
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
    expectPlacedAsRow(1, sceneList[2]);
    expectPlacedAsRow(2, sceneList[3]); // the rake
    expectPlacedAsRow(3, sceneList[4]); // the girl
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
    EXPECT_TRUE(glIsTexture((GLuint)particleTexture));
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
