#include <GL/glew.h>
#include <gtest/gtest.h>

#include "app/sceneInit.h"
#include "app/window.h"
#include "math/matrix.h"
#include "math/transforms.h"
#include "render/shaderLoading.h"
#include "render/unshadowedProgram.h"
#include "scene/sceneStore.h"
#include "scene/textureLoaders.h"
#include "tests/glFixture.h"
#include "tests/renderSceneSupportTest.h"

namespace {

// A slab alone in the scene, 100 units in front of the light where its map resolves depth
// finely, turned so that the light meets its top face at 75 degrees from the normal: the stored
// depth changes steeply from one texel to the next, and nothing can shadow that face.
class SlopeBias : public GlTest {
  protected:
    void SetUp() override {
        initSceneAsAtStart();
        buildTestScene();
        sceneObjects[0].polygonCount = 0; // no ground: every drawn pixel is the slab
        int slab = addTestBox(0, 0, 40, 1, 40);
        // The light at (20, 560, -30) looks along (0, -0.985, -0.174).
        objectSetPosition(sceneObjects[slab].matrix, 20, 461.5f, -47.4f);
        objectRotate(sceneObjects[slab].matrix, 850, 0, 0);
        // Eye 80 units out along the slab's normal side, looking down 17.5 degrees at it.
        matIdentity(cameraMatrix);
        cameraTranslate(-20, -484, -29);
        cameraRotate(175, 0, 0);
    }
};

} // namespace

TEST_F(SlopeBias, SteepSurfaceFacingTheLightShowsNoAcne) {
    CapturedFrame shadowed = renderAndCapture();
    CapturedFrame plain = renderAndCaptureUnshadowed();
    int surface = 0, darkened = 0;
    for (int y = 0; y < shadowed.height; y += 2)
        for (int x = 0; x < shadowed.width; x += 2) {
            if (shadowed.depth[(size_t)y * shadowed.width + x] >= 1.0f)
                continue;
            surface++;
            if (luminance(shadowed, x, y) < luminance(plain, x, y) - 2.0)
                darkened++;
        }
    ASSERT_GT(surface, 5000) << "the slab does not fill the view";
    EXPECT_LE(darkened, surface / 100) << darkened << " of " << surface << " pixels darkened";
}
