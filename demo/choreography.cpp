#include "demo/choreography.h"

#include "scene/sceneState.h"
#include "math/matrix.h"
#include "math/transforms.h"
#include "scene/sceneStore.h"

// Set once a phase's setup has run; cleared only by beginReplay, which starts the script again.
bool phaseSetupDone[PHASE_SETUP_COUNT];

// Rows of the scene list the script moves; a missing model shifts which object holds them.
static const int RAKE = 3;
static const int WAGON = 9;
static const int BIRD = 19;
static const int NO_SETUP = -1;

struct Phase {
    int bound;            // the phase runs while elapsedSeconds is below this
    int setupIndex;       // into phaseSetupDone, or NO_SETUP
    void (*setup)();      // once-only block, may be null
    void (*everyFrame)(); // repeated on every frame of the phase
    bool everyFrameFirst; // the bird's move comes before the camera cut in two phases
};

// ---- helpers ----
static void moveRake(float dx, float dy, float dz);
static void moveBird(float dx, float dy, float dz);
static void resetRake();
static void cutCamera(float dx, float dy, float dz, int ax, int ay, int az);
static void setBillboardAngles(float x, float y, float z);
// Setup blocks and per-frame actions of the phases, in script order.
static void rakeBack();
static void rakeForthLow();
static void rakeBackDown();
static void rakeForthUp();
static void lowerView();
static void creepForward();
static void swingToRake();
static void riseTowardRake();
static void cutToFarSide();
static void pushForward();
static void birdTakesOff();
static void birdFliesAway();
static void cutToAbove();
static void birdDives();
static void cutToWagon();
static void birdClimbs();
static void wagonDrivesOut();
static void wagonDrivesBack();
static void cutBehindScene();
static void travelForward();
static void swingToFinalView();

// clang-format off
static const Phase PHASES[] = {
    // bound, setup flag, setup,         every frame,     every frame first
    {3,  NO_SETUP, nullptr,          rakeBack,        false},
    {4,  NO_SETUP, nullptr,          rakeForthLow,    false},
    {5,  NO_SETUP, nullptr,          rakeBackDown,    false},
    {6,  NO_SETUP, nullptr,          rakeForthUp,     false},
    {7,  NO_SETUP, nullptr,          rakeBackDown,    false},
    {9,  0,        lowerView,        creepForward,    false},
    {11, 1,        swingToRake,      riseTowardRake,  false},
    {12, 2,        cutToFarSide,     pushForward,     false},
    {13, NO_SETUP, nullptr,          birdTakesOff,    false},
    {15, NO_SETUP, nullptr,          birdFliesAway,   false},
    {17, 3,        cutToAbove,       birdDives,       true},
    {18, 4,        cutToWagon,       birdClimbs,      true},
    {19, NO_SETUP, nullptr,          wagonDrivesOut,  false},
    {20, NO_SETUP, nullptr,          wagonDrivesBack, false},
    {22, 5,        cutBehindScene,   travelForward,   false},
    {24, 6,        swingToFinalView, travelForward,   false},
};
// clang-format on
static const int PHASE_COUNT = sizeof(PHASES) / sizeof(PHASES[0]);

static void moveRake(float dx, float dy, float dz) {
    objectMoveLocal(sceneObjects[RAKE].matrix, dx, dy, dz);
}

static void moveBird(float dx, float dy, float dz) {
    objectMoveLocal(sceneObjects[BIRD].matrix, dx, dy, dz);
}

// Back at its place in the scene list; its turns stay as they are.
static void resetRake() {
    objectSetPosition(sceneObjects[RAKE].matrix, 100, 25, -60);
}

// A cut forgets every earlier camera move, the user's included.
static void cutCamera(float dx, float dy, float dz, int ax, int ay, int az) {
    matIdentity(cameraMatrix);
    cameraTranslate(dx, dy, dz);
    cameraRotate(ax, ay, az);
}

static void setBillboardAngles(float x, float y, float z) {
    billboardAngles[0] = x;
    billboardAngles[1] = y;
    billboardAngles[2] = z;
}

static void rakeBack() {
    moveRake(-0.2f, 0, -0.2f);
}

static void rakeForthLow() {
    moveRake(0.15f, 0.075f, 0.15f);
}

static void rakeBackDown() {
    moveRake(-0.2f, -0.075f, -0.2f);
}

static void rakeForthUp() {
    moveRake(0.2f, 0.075f, 0.2f);
}

// Relative to wherever the camera is now.
static void lowerView() {
    cameraTranslate(0, -22, 0);
    resetRake();
}

static void creepForward() {
    cameraTranslate(0, 0, 0.01f);
}

static void swingToRake() {
    cameraTranslate(100, 2, -60);
    cameraRotate(0, -550, 0);
    billboardAngles[1] += -550.0;
    resetRake();
}

// The particles roll while the camera does not: intended.
static void riseTowardRake() {
    cameraTranslate(0, 0.2f, 0.4f);
    billboardAngles[2] += -0.2;
}

static void cutToFarSide() {
    cutCamera(-330, -50, -30, 0, -550, 0);
    setBillboardAngles(0, -550, 0);
    resetRake();
}

static void pushForward() {
    cameraTranslate(0, 0, 0.2f);
}

static void birdTakesOff() {
    moveBird(-1, 0, 0);
}

static void birdFliesAway() {
    moveBird(0, 0, -3);
}

static void birdDives() {
    moveBird(0, -0.3f, -6);
}

static void birdClimbs() {
    moveBird(0, 0.5f, -4);
}

// -27000 is no turn for the camera but stays in billboardAngles as it is: intended.
static void cutToAbove() {
    cutCamera(-100, -250, 100, 900, 0, -27000);
    setBillboardAngles(900, 0, -27000);
}

// billboardAngles keep the previous phase's values: intended.
static void cutToWagon() {
    cutCamera(45, -30, -40, 0, 0, 0);
}

static void wagonDrivesOut() {
    objectMoveLocal(sceneObjects[WAGON].matrix, 0, 0, 2);
    moveBird(0.4f, 2, -4);
    objectRotate(sceneObjects[WAGON].matrix, 0, -10, 0);
}

static void wagonDrivesBack() {
    objectMoveLocal(sceneObjects[WAGON].matrix, 0, 0, -2);
    moveBird(0.7f, 5, -1);
    objectRotate(sceneObjects[WAGON].matrix, 0, -20, 0);
}

static void cutBehindScene() {
    cutCamera(-60, -30, 40, 0, 1800, 0);
    setBillboardAngles(0, 1800, 0);
}

static void travelForward() {
    cameraTranslate(0, 0, 1);
}

static void swingToFinalView() {
    cameraTranslate(-60, 10, 55);
    cameraRotate(0, -900, 0);
    billboardAngles[1] += -900.0;
}

void runChoreography() {
    // The first bound above elapsedSeconds picks the phase; from the last bound on the script
    // is over.
    for (int i = 0; i < PHASE_COUNT; i++) {
        const Phase& phase = PHASES[i];
        if (elapsedSeconds >= phase.bound)
            continue;
        bool setupDue = phase.setupIndex != NO_SETUP && !phaseSetupDone[phase.setupIndex];
        if (phase.everyFrameFirst)
            phase.everyFrame();
        if (setupDue) {
            phase.setup();
            phaseSetupDone[phase.setupIndex] = true;
        }
        if (!phase.everyFrameFirst)
            phase.everyFrame();
        return;
    }
}
