#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <cstring>

#include "app/pointerInput.h"
#include "app/sceneInit.h"
#include "app/window.h"
#include "math/angleTables.h"
#include "math/matrix.h"
#include "math/transforms.h"
#include "scene/sceneStore.h"
#include "tests/glFixture.h"

namespace {

const int LOADED = 21;

void resetInputState() {
    buildAngleTables();
    objectCount = LOADED;
    selectedObject = 0;
    edgeScrollLeft = edgeScrollRight = edgeScrollUp = edgeScrollDown = 0;
    dragAnchorX = dragAnchorY = 0;
    windowWidth = 640;
    windowHeight = 480;
    matIdentity(cameraMatrix);
    cameraTranslate(-100, -30, 45);
    billboardAngles[0] = 150;
    billboardAngles[1] = 0;
    billboardAngles[2] = 0;
    for (int i = 0; i < MAX_OBJECTS; i++)
        matIdentity(sceneObjects[i].matrix);
}

bool sameMatrix(const Mat4& a, const Mat4& b) {
    return memcmp(a, b, sizeof(Mat4)) == 0;
}

// Flags as "LRUD" letters, '-' for a clear one, so a failure shows the whole set.
std::string flags() {
    std::string s = "----";
    if (edgeScrollLeft)
        s[0] = 'L';
    if (edgeScrollRight)
        s[1] = 'R';
    if (edgeScrollUp)
        s[2] = 'U';
    if (edgeScrollDown)
        s[3] = 'D';
    return s;
}

class PointerInput : public ::testing::Test {
  protected:
    void SetUp() override { resetInputState(); }
};

} // namespace

TEST_F(PointerInput, PageKeysWrapAroundTheLoadedObjects) {
    specialKeyInput(GLUT_KEY_PAGE_DOWN, 0, 0);
    EXPECT_EQ(LOADED - 1, selectedObject) << "Page Down from 0 selects the last object";
    specialKeyInput(GLUT_KEY_PAGE_UP, 0, 0);
    EXPECT_EQ(0, selectedObject) << "Page Up from the last object selects 0";
    specialKeyInput(GLUT_KEY_PAGE_UP, 0, 0);
    EXPECT_EQ(1, selectedObject);
}

TEST_F(PointerInput, CursorKeysTurnOnlyTheSelectedObjectByTwoDegrees) {
    selectedObject = 5;
    struct {
        int key, ax, az;
    } cases[] = {{GLUT_KEY_LEFT, 0, 20},
                 {GLUT_KEY_RIGHT, 0, -20},
                 {GLUT_KEY_UP, -20, 0},
                 {GLUT_KEY_DOWN, 20, 0}};
    for (auto& c : cases) {
        Mat4 expected;
        matCopy(expected, sceneObjects[5].matrix);
        SceneObject reference;
        matCopy(reference.matrix, expected);
        objectRotate(reference.matrix, c.ax, 0, c.az);
        specialKeyInput(c.key, 123, 456);
        EXPECT_TRUE(sameMatrix(reference.matrix, sceneObjects[5].matrix)) << "key " << c.key;
    }
    Mat4 identity;
    matIdentity(identity);
    EXPECT_TRUE(sameMatrix(identity, sceneObjects[4].matrix));
    EXPECT_TRUE(sameMatrix(identity, sceneObjects[6].matrix));
}

TEST_F(PointerInput, OtherSpecialKeysChangeNothing) {
    Mat4 camera;
    matCopy(camera, cameraMatrix);
    for (int key : {GLUT_KEY_F1, GLUT_KEY_HOME, GLUT_KEY_END, GLUT_KEY_INSERT, -1, 9999})
        specialKeyInput(key, 0, 0);
    Mat4 identity;
    matIdentity(identity);
    EXPECT_EQ(0, selectedObject);
    EXPECT_TRUE(sameMatrix(identity, sceneObjects[0].matrix));
    EXPECT_TRUE(sameMatrix(camera, cameraMatrix));
}

TEST_F(PointerInput, WithNoObjectLoadedKeysTouchNothing) {
    objectCount = 0;
    memset(&sceneObjects[0].matrix, 0, sizeof(Mat4));
    for (int key : {GLUT_KEY_PAGE_DOWN, GLUT_KEY_PAGE_UP, GLUT_KEY_LEFT, GLUT_KEY_UP}) {
        specialKeyInput(key, 0, 0);
        EXPECT_EQ(0, selectedObject) << "key " << key;
    }
    Mat4 zero = {};
    EXPECT_TRUE(sameMatrix(zero, sceneObjects[0].matrix)) << "the empty slot was turned";
}

TEST_F(PointerInput, SelectionOutsideTheTableTurnsNothing) {
    for (int selection : {-1, LOADED, MAX_OBJECTS, 1 << 30}) {
        selectedObject = selection;
        specialKeyInput(GLUT_KEY_LEFT, 0, 0);
        EXPECT_EQ(selection, selectedObject);
    }
    Mat4 identity;
    matIdentity(identity);
    for (int i = 0; i < MAX_OBJECTS; i++)
        ASSERT_TRUE(sameMatrix(identity, sceneObjects[i].matrix)) << "object " << i;
}

TEST_F(PointerInput, EdgeZonesFollowTheirAsymmetricBorders) {
    struct {
        int x, y;
        const char* expected;
    } cases[] = {
        {0, 0, "L---"},     {0, 1, "L-U-"},     {63, 240, "L---"},  {64, 240, "----"},
        {576, 240, "----"}, {577, 240, "-R--"}, {639, 240, "-R--"}, {640, 240, "----"},
        {320, 47, "--U-"},  {320, 48, "----"},  {320, 432, "----"}, {320, 433, "---D"},
        {320, 479, "---D"}, {320, 480, "----"}, {-1, -1, "----"},   {639, 479, "-R-D"},
    };
    for (auto& c : cases) {
        passiveMotion(c.x, c.y);
        EXPECT_EQ(c.expected, flags()) << "pointer at " << c.x << ", " << c.y;
    }
}

TEST_F(PointerInput, EdgeZonesScaleWithTheWindow) {
    windowWidth = 100;
    windowHeight = 50;
    passiveMotion(90, 45);
    EXPECT_EQ("----", flags());
    passiveMotion(91, 46);
    EXPECT_EQ("-R-D", flags());
    passiveMotion(9, 4);
    EXPECT_EQ("L-U-", flags());
}

TEST_F(PointerInput, LeavingTheWindowClearsEveryFlagAndEnteringKeepsThem) {
    passiveMotion(0, 1);
    mouseEntry(GLUT_ENTERED);
    EXPECT_EQ("L-U-", flags());
    mouseEntry(GLUT_LEFT);
    EXPECT_EQ("----", flags());
}

TEST_F(PointerInput, DragMovesTheCameraInWholeStepsOfTwentyFivePixelsFromTheAnchor) {
    mouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 100, 100);
    struct {
        int x, y;
        float dx, dy;
    } cases[] = {{149, 100, 1, 0}, {124, 100, 0, 0}, {50, 100, -2, 0},
                 {100, 40, 0, 2},  {76, 76, 0, 0},   {100, 150, 0, -2}};
    for (auto& c : cases) {
        float x = cameraMatrix[12], y = cameraMatrix[13], z = cameraMatrix[14];
        mouseDrag(c.x, c.y);
        EXPECT_EQ(x + c.dx, cameraMatrix[12]) << "drag to " << c.x << ", " << c.y;
        EXPECT_EQ(y + c.dy, cameraMatrix[13]) << "drag to " << c.x << ", " << c.y;
        EXPECT_EQ(z, cameraMatrix[14]);
    }
}

TEST_F(PointerInput, LeftButtonReleaseAlsoSetsTheAnchorAndOtherButtonsDoNothing) {
    mouseButton(GLUT_LEFT_BUTTON, GLUT_UP, 30, 40);
    EXPECT_EQ(30, dragAnchorX);
    EXPECT_EQ(40, dragAnchorY);
    Mat4 camera;
    matCopy(camera, cameraMatrix);
    for (int button : {GLUT_RIGHT_BUTTON, GLUT_MIDDLE_BUTTON, 5, 6})
        for (int state : {GLUT_DOWN, GLUT_UP})
            mouseButton(button, state, 500, 400);
    EXPECT_EQ(30, dragAnchorX);
    EXPECT_EQ(40, dragAnchorY);
    EXPECT_TRUE(sameMatrix(camera, cameraMatrix));
}

TEST_F(PointerInput, EdgeScrollTurnsInItsFixedOrderAndTracksBillboardAngles) {
    passiveMotion(0, 1); // left and up
    Mat4 saved, expected;
    matCopy(saved, cameraMatrix);
    cameraRotate(0, -5, 0);
    cameraRotate(-5, 0, 0);
    matCopy(expected, cameraMatrix);
    matCopy(cameraMatrix, saved);
    applyEdgeScroll();
    EXPECT_TRUE(sameMatrix(expected, cameraMatrix)) << "left turn first, then up";
    EXPECT_EQ(145, billboardAngles[0]);
    EXPECT_EQ(-5, billboardAngles[1]);
    EXPECT_EQ(0, billboardAngles[2]);

    passiveMotion(639, 479); // right and down
    applyEdgeScroll();
    applyEdgeScroll();
    EXPECT_EQ(155, billboardAngles[0]);
    EXPECT_EQ(5, billboardAngles[1]);

    mouseEntry(GLUT_LEFT);
    matCopy(saved, cameraMatrix);
    applyEdgeScroll();
    EXPECT_TRUE(sameMatrix(saved, cameraMatrix)) << "no turn once the pointer left";
}

namespace {

// The wheel requests a redisplay, which needs the toolkit initialised.
class WheelInput : public GlTest {
  protected:
    void SetUp() override { resetInputState(); }
};

} // namespace

TEST_F(WheelInput, EachWheelEventMovesTheCameraOneUnitWhateverItsState) {
    float z = cameraMatrix[14];
    mouseButton(3, GLUT_DOWN, 10, 10);
    EXPECT_EQ(z + 1.0f, cameraMatrix[14]);
    mouseButton(3, GLUT_UP, 10, 10);
    EXPECT_EQ(z + 2.0f, cameraMatrix[14]);
    mouseButton(4, GLUT_DOWN, 10, 10);
    mouseButton(4, GLUT_UP, 10, 10);
    mouseButton(4, GLUT_UP, 10, 10);
    EXPECT_EQ(z - 1.0f, cameraMatrix[14]);
    EXPECT_EQ(-100, cameraMatrix[12]);
    EXPECT_EQ(-30, cameraMatrix[13]);
    EXPECT_EQ(0, dragAnchorX) << "the wheel does not move the drag anchor";
}
