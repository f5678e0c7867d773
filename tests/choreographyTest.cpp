#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>

#include "app/sceneInit.h"
#include "demo/choreography.h"
#include "math/angleTables.h"
#include "math/matrix.h"
#include "math/transforms.h"
#include "scene/sceneStore.h"

namespace {

const int RAKE = 3;
const int WAGON = 9;
const int BIRD = 19;

// Everything the script may change, to compare whole states.
struct ScriptState {
    Mat4 camera;
    Mat4 rake, wagon, bird;
    float billboard[3];
};

ScriptState snapshot() {
    ScriptState s;
    matCopy(s.camera, cameraMatrix);
    matCopy(s.rake, sceneObjects[RAKE].matrix);
    matCopy(s.wagon, sceneObjects[WAGON].matrix);
    matCopy(s.bird, sceneObjects[BIRD].matrix);
    memcpy(s.billboard, billboardAngles, sizeof(s.billboard));
    return s;
}

bool sameState(const ScriptState& a, const ScriptState& b) {
    return memcmp(&a, &b, sizeof(ScriptState)) == 0;
}

bool sameMatrix(const Mat4& a, const Mat4& b) {
    return memcmp(a, b, sizeof(Mat4)) == 0;
}

// One frame with the clock `seconds` past startTime; retried if the second ticks in between, and
// a failure (not a hang) when the clock never gives that many seconds.
void frameAt(int seconds) {
    for (int attempt = 0; attempt < 3; attempt++) {
        startTime = time(nullptr) - seconds;
        updateElapsedSeconds();
        if (elapsedSeconds == seconds) {
            runChoreography();
            return;
        }
    }
    ADD_FAILURE() << "elapsedSeconds is " << elapsedSeconds << " for a start " << seconds
                  << " s ago";
}

void expectTranslation(const Mat4& m, float x, float y, float z, const char* what) {
    EXPECT_FLOAT_EQ(x, m[12]) << what << " x";
    EXPECT_FLOAT_EQ(y, m[13]) << what << " y";
    EXPECT_FLOAT_EQ(z, m[14]) << what << " z";
}

// The change of one object's or the camera's translation over one frame.
void expectFrameMoves(const Mat4& before, const Mat4& after, float dx, float dy, float dz,
                      const char* what) {
    EXPECT_FLOAT_EQ(before[12] + dx, after[12]) << what << " x";
    EXPECT_FLOAT_EQ(before[13] + dy, after[13]) << what << " y";
    EXPECT_FLOAT_EQ(before[14] + dz, after[14]) << what << " z";
}

class Choreography : public ::testing::Test {
  protected:
    void SetUp() override {
        buildAngleTables();
        memset(phaseSetupDone, 0, sizeof(phaseSetupDone));
        matIdentity(cameraMatrix);
        cameraTranslate(-100, -30, 45);
        cameraRotate(240, 0, 0);
        for (int i : {RAKE, WAGON, BIRD})
            matIdentity(sceneObjects[i].matrix);
        objectSetPosition(sceneObjects[RAKE].matrix, 100, 25, -60);
        objectSetPosition(sceneObjects[WAGON].matrix, 10, 0, 20);
        objectSetPosition(sceneObjects[BIRD].matrix, -20, 30, 5);
        billboardAngles[0] = 150;
        billboardAngles[1] = 0;
        billboardAngles[2] = 0;
    }
};

} // namespace

TEST_F(Choreography, ElapsedSecondsAreWholeCalendarSecondsAndNegativeWhenTheClockGoesBack) {
    startTime = time(nullptr) + 3600;
    updateElapsedSeconds();
    EXPECT_LE(elapsedSeconds, -3599);
    EXPECT_GE(elapsedSeconds, -3600);
    startTime = time(nullptr) - 10;
    updateElapsedSeconds();
    EXPECT_GE(elapsedSeconds, 10);
    EXPECT_LE(elapsedSeconds, 11);
}

TEST_F(Choreography, ElapsedSecondsSaturateForClocksBeyondTheIntRange) {
    startTime = time(nullptr) - ((time_t)1 << 40);
    updateElapsedSeconds();
    EXPECT_EQ(INT_MAX, elapsedSeconds);
    startTime = time(nullptr) + ((time_t)1 << 40);
    updateElapsedSeconds();
    EXPECT_EQ(INT_MIN, elapsedSeconds);
    runChoreography(); // the first phase's move, nothing worse
}

TEST_F(Choreography, RakeRocksBackAndForthInTheFirstSevenSeconds) {
    struct {
        int seconds;
        float dx, dy, dz;
    } cases[] = {{-5, -0.2f, 0, -0.2f},     {0, -0.2f, 0, -0.2f},       {2, -0.2f, 0, -0.2f},
                 {3, 0.15f, 0.075f, 0.15f}, {4, -0.2f, -0.075f, -0.2f}, {5, 0.2f, 0.075f, 0.2f},
                 {6, -0.2f, -0.075f, -0.2f}};
    for (auto& c : cases) {
        SCOPED_TRACE(c.seconds);
        ScriptState before = snapshot();
        frameAt(c.seconds);
        ScriptState after = snapshot();
        expectFrameMoves(before.rake, after.rake, c.dx, c.dy, c.dz, "rake");
        EXPECT_TRUE(sameMatrix(before.camera, after.camera));
    }
}

TEST_F(Choreography, SevenLowersTheCameraOnceThenCreepsForward) {
    ScriptState start = snapshot();
    objectMoveLocal(sceneObjects[RAKE].matrix, 5, 5, 5);
    frameAt(7);
    expectFrameMoves(start.camera, cameraMatrix, 0, -22, 0.01f, "camera after setup");
    expectTranslation(sceneObjects[RAKE].matrix, 100, 25, -60, "rake back at its place");
    ScriptState before = snapshot();
    frameAt(8);
    expectFrameMoves(before.camera, cameraMatrix, 0, 0, 0.01f, "camera on a later frame");
}

TEST_F(Choreography, NineSwingsTheViewAndRollsOnlyTheParticles) {
    ScriptState start = snapshot();
    frameAt(9);
    ScriptState after = snapshot();
    matCopy(cameraMatrix, start.camera);
    cameraTranslate(100, 2, -60);
    cameraRotate(0, -550, 0);
    cameraTranslate(0, 0.2f, 0.4f);
    EXPECT_TRUE(sameMatrix(cameraMatrix, after.camera));
    EXPECT_EQ(150, after.billboard[0]);
    EXPECT_EQ(-550, after.billboard[1]);
    EXPECT_FLOAT_EQ(-0.2f, after.billboard[2]);
    for (int frame = 0; frame < 99; frame++)
        frameAt(10);
    // Added in double precision, stored in single precision, every frame.
    float z = 0;
    for (int frame = 0; frame < 100; frame++)
        z = (float)(z + -0.2);
    EXPECT_EQ(z, billboardAngles[2]);
    EXPECT_EQ(-550, billboardAngles[1]) << "the swing is part of the once-only setup";
}

// A view turned by the given steps (already in 0 .. 3599) after a move by t: R * T with the
// textbook R = Rz * Ry * Rx in double precision, column-major.
void referenceCut(const float t[3], const int steps[3], double out[16]) {
    double r[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int axis = 0; axis < 3; axis++) {
        double a = steps[axis] * 3.1415 / 1800, c = cos(a), s = sin(a);
        int i = (axis + 1) % 3, j = (axis + 2) % 3;
        double turn[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
        turn[i][i] = c;
        turn[i][j] = -s;
        turn[j][i] = s;
        turn[j][j] = c;
        double next[3][3];
        for (int row = 0; row < 3; row++)
            for (int col = 0; col < 3; col++)
                next[row][col] =
                    turn[row][0] * r[0][col] + turn[row][1] * r[1][col] + turn[row][2] * r[2][col];
        memcpy(r, next, sizeof(r));
    }
    for (int col = 0; col < 4; col++)
        for (int row = 0; row < 4; row++)
            out[col * 4 + row] = col < 3 && row < 3 ? r[row][col] : (row == col ? 1 : 0);
    for (int row = 0; row < 3; row++)
        out[12 + row] = r[row][0] * t[0] + r[row][1] * t[1] + r[row][2] * t[2];
}

TEST_F(Choreography, CutsResetTheCameraAndSetTheBillboardAngles) {
    struct {
        int seconds;
        float move[3];
        int steps[3];       // the cut's turns as table entries: -550 is 3050, -27000 no turn
        float frameMove[3]; // the phase's own move on the same frame
        float billboard[3];
    } cases[] = {
        {11, {-330, -50, -30}, {0, 3050, 0}, {0, 0, 0.2f}, {0, -550, 0}},
        {15, {-100, -250, 100}, {900, 0, 0}, {0, 0, 0}, {900, 0, -27000}},
        {17, {45, -30, -40}, {0, 0, 0}, {0, 0, 0}, {150, 0, 0}},
        {20, {-60, -30, 40}, {0, 1800, 0}, {0, 0, 1}, {0, 1800, 0}},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.seconds);
        SetUp();
        objectMoveLocal(sceneObjects[RAKE].matrix, 5, 5, 5);
        frameAt(c.seconds);
        ScriptState after = snapshot();
        frameAt(c.seconds);
        ScriptState later = snapshot();
        double expected[16];
        referenceCut(c.move, c.steps, expected);
        for (int i = 0; i < 3; i++)
            expected[12 + i] += c.frameMove[i];
        for (int i = 0; i < 16; i++)
            EXPECT_NEAR(after.camera[i], expected[i], 1e-3) << "element " << i;
        for (int i = 0; i < 3; i++)
            EXPECT_EQ(c.billboard[i], later.billboard[i]) << "billboard " << i;
    }
}

TEST_F(Choreography, EachPhaseStartsAtItsBoundAndNotASecondEarlier) {
    // The second frame of a fresh run at each second: who moves, and the particles' facing.
    struct {
        int seconds;
        float rake[3], bird[3], camera[3];
        float billboardX, billboardY;
    } cases[] = {
        {2, {-0.2f, 0, -0.2f}, {0, 0, 0}, {0, 0, 0}, 150, 0},
        {3, {0.15f, 0.075f, 0.15f}, {0, 0, 0}, {0, 0, 0}, 150, 0},
        {4, {-0.2f, -0.075f, -0.2f}, {0, 0, 0}, {0, 0, 0}, 150, 0},
        {5, {0.2f, 0.075f, 0.2f}, {0, 0, 0}, {0, 0, 0}, 150, 0},
        {6, {-0.2f, -0.075f, -0.2f}, {0, 0, 0}, {0, 0, 0}, 150, 0},
        {7, {0, 0, 0}, {0, 0, 0}, {0, 0, 0.01f}, 150, 0},
        {8, {0, 0, 0}, {0, 0, 0}, {0, 0, 0.01f}, 150, 0},
        {9, {0, 0, 0}, {0, 0, 0}, {0, 0.2f, 0.4f}, 150, -550},
        {10, {0, 0, 0}, {0, 0, 0}, {0, 0.2f, 0.4f}, 150, -550},
        {11, {0, 0, 0}, {0, 0, 0}, {0, 0, 0.2f}, 0, -550},
        {12, {0, 0, 0}, {-1, 0, 0}, {0, 0, 0}, 150, 0},
        {13, {0, 0, 0}, {0, 0, -3}, {0, 0, 0}, 150, 0},
        {14, {0, 0, 0}, {0, 0, -3}, {0, 0, 0}, 150, 0},
        {15, {0, 0, 0}, {0, -0.3f, -6}, {0, 0, 0}, 900, 0},
        {16, {0, 0, 0}, {0, -0.3f, -6}, {0, 0, 0}, 900, 0},
        {17, {0, 0, 0}, {0, 0.5f, -4}, {0, 0, 0}, 150, 0},
        {18, {0, 0, 0}, {0.4f, 2, -4}, {0, 0, 0}, 150, 0},
        {19, {0, 0, 0}, {0.7f, 5, -1}, {0, 0, 0}, 150, 0},
        {20, {0, 0, 0}, {0, 0, 0}, {0, 0, 1}, 0, 1800},
        {21, {0, 0, 0}, {0, 0, 0}, {0, 0, 1}, 0, 1800},
        {22, {0, 0, 0}, {0, 0, 0}, {0, 0, 1}, 150, -900},
        {23, {0, 0, 0}, {0, 0, 0}, {0, 0, 1}, 150, -900},
        {24, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, 150, 0},
        {25, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, 150, 0},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.seconds);
        SetUp();
        frameAt(c.seconds);
        ScriptState before = snapshot();
        frameAt(c.seconds);
        ScriptState after = snapshot();
        expectFrameMoves(before.rake, after.rake, c.rake[0], c.rake[1], c.rake[2], "rake");
        expectFrameMoves(before.bird, after.bird, c.bird[0], c.bird[1], c.bird[2], "bird");
        expectFrameMoves(before.camera, after.camera, c.camera[0], c.camera[1], c.camera[2],
                         "camera");
        EXPECT_EQ(c.billboardX, after.billboard[0]);
        EXPECT_EQ(c.billboardY, after.billboard[1]);
    }
}

TEST_F(Choreography, RakeIsPutBackAtItsPlaceByTheSetupsAtSevenNineAndEleven) {
    for (int seconds : {7, 9, 11}) {
        SCOPED_TRACE(seconds);
        SetUp();
        objectMoveLocal(sceneObjects[RAKE].matrix, 5, -4, 3);
        frameAt(seconds);
        expectTranslation(sceneObjects[RAKE].matrix, 100, 25, -60, "rake");
    }
}

TEST_F(Choreography, EveryFrameMovesOfTheLaterPhases) {
    struct {
        int seconds;
        float camera[3], bird[3];
    } cases[] = {
        {11, {0, 0, 0.2f}, {0, 0, 0}},   {12, {0, 0, 0}, {-1, 0, 0}},
        {13, {0, 0, 0}, {0, 0, -3}},     {14, {0, 0, 0}, {0, 0, -3}},
        {16, {0, 0, 0}, {0, -0.3f, -6}}, {17, {0, 0, 0}, {0, 0.5f, -4}},
        {18, {0, 0, 0}, {0.4f, 2, -4}},  {19, {0, 0, 0}, {0.7f, 5, -1}},
        {21, {0, 0, 1}, {0, 0, 0}},      {23, {0, 0, 1}, {0, 0, 0}},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.seconds);
        frameAt(c.seconds); // runs any setup
        ScriptState before = snapshot();
        frameAt(c.seconds);
        ScriptState after = snapshot();
        expectFrameMoves(before.camera, after.camera, c.camera[0], c.camera[1], c.camera[2],
                         "camera");
        expectFrameMoves(before.bird, after.bird, c.bird[0], c.bird[1], c.bird[2], "bird");
    }
}

TEST_F(Choreography, WagonTurnsWhileItDrives) {
    // Starting unturned, the first move is straight along z; the turn follows it.
    frameAt(18);
    SceneObject expected;
    matIdentity(expected.matrix);
    objectSetPosition(expected.matrix, 10, 0, 20);
    objectMoveLocal(expected.matrix, 0, 0, 2);
    objectRotate(expected.matrix, 0, -10, 0);
    EXPECT_TRUE(sameMatrix(expected.matrix, sceneObjects[WAGON].matrix));
    frameAt(19);
    objectMoveLocal(expected.matrix, 0, 0, -2);
    objectRotate(expected.matrix, 0, -20, 0);
    EXPECT_TRUE(sameMatrix(expected.matrix, sceneObjects[WAGON].matrix));
}

TEST_F(Choreography, TwentyTwoSwingsFromWhereverTheCameraIs) {
    frameAt(20);
    frameAt(22);
    Mat4 expected;
    Mat4 reached;
    matCopy(reached, cameraMatrix);
    matIdentity(cameraMatrix);
    cameraTranslate(-60, -30, 40);
    cameraRotate(0, 1800, 0);
    cameraTranslate(0, 0, 1);
    cameraTranslate(-60, 10, 55);
    cameraRotate(0, -900, 0);
    cameraTranslate(0, 0, 1);
    matCopy(expected, cameraMatrix);
    EXPECT_TRUE(sameMatrix(expected, reached));
    EXPECT_EQ(900, billboardAngles[1]) << "1800 set by the cut, then -900";
}

TEST_F(Choreography, SetupsRunOnceEvenWhenTheClockGoesBack) {
    ScriptState start = snapshot();
    frameAt(7);
    frameAt(7);
    EXPECT_FLOAT_EQ(start.camera[13] - 22, cameraMatrix[13]) << "lowered once only";
    ScriptState before = snapshot();
    frameAt(-2);
    expectFrameMoves(before.rake, sceneObjects[RAKE].matrix, -0.2f, 0, -0.2f, "rake");
    EXPECT_TRUE(sameMatrix(before.camera, cameraMatrix));
    frameAt(8);
    EXPECT_FLOAT_EQ(start.camera[13] - 22, cameraMatrix[13]) << "no second setup";
    EXPECT_TRUE(phaseSetupDone[0]);
}

TEST_F(Choreography, SkippedPhaseNeverRunsItsSetupAndLaterSwingsStartElsewhere) {
    frameAt(12); // a long load: 7, 9 and 11 never had a frame
    EXPECT_FALSE(phaseSetupDone[0]);
    EXPECT_FALSE(phaseSetupDone[1]);
    EXPECT_FALSE(phaseSetupDone[2]);
    EXPECT_EQ(150, billboardAngles[0]) << "the cut at 11 never ran";
    frameAt(22); // 20's cut skipped too
    EXPECT_EQ(-900, billboardAngles[1]) << "the swing works from the start angles";
    EXPECT_FALSE(phaseSetupDone[5]);
    EXPECT_TRUE(phaseSetupDone[6]);
}

TEST_F(Choreography, NothingChangesFromTwentyFourSecondsOn) {
    frameAt(23);
    ScriptState before = snapshot();
    for (int seconds : {24, 25, 60, 100000})
        frameAt(seconds);
    EXPECT_TRUE(sameState(before, snapshot()));
}
