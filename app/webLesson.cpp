#include "app/webLesson.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <emscripten.h>
#include <vector>

#include "app/pointerInput.h"
#include "app/replay.h"
#include "app/sceneInit.h"
#include "app/webLessonOverlay.h"
#include "app/window.h"
#include "math/matrix.h"
#include "math/transforms.h"
#include "particles/particleRandom.h"
#include "particles/particles.h"
#include "render/passViews.h"
#include "render/shaderLoading.h"
#include "app/eyeOverSand.h"
#include "app/stripCrop.h"
#include "scene/sceneStore.h"

const int LESSON_MAX_FRAMES_PER_SECOND = 1000;

struct Lesson {
    int framesPerSecond; // the driven clock's rate
    int framesPlayed;    // frames of the script since its start
    bool playing;
    PassView view;
    ShadowSetting shadows;
    bool lines;
};

static Lesson lesson = {25, 0, false, VIEW_SHADOWED, SHIPPED_SHADOWS, true};
static bool seekPending = true; // the first frame replays to second 0
static int seekSecond;
// The scene as start-up left it: a seek starts from here.
static Mat4 startCamera, startLight;
static Mat4 startObjects[MAX_OBJECTS];
static float startBillboard[3];
static std::vector<unsigned char> shownView; // RGB, bottom row first

// ---- helpers ----
static void keepStart();
static void restoreStart();
static void lessonFrame();
static int currentSecond();

static void keepStart() {
    matCopy(startCamera, cameraMatrix);
    matCopy(startLight, lightMatrix);
    for (int i = 0; i < objectCount; i++)
        matCopy(startObjects[i], sceneObjects[i].matrix);
    for (int i = 0; i < 3; i++)
        startBillboard[i] = billboardAngles[i];
}

// The fountain restarts from its fixed sequence as at start-up, which seeds it with 1.
static void restoreStart() {
    matCopy(cameraMatrix, startCamera);
    matCopy(lightMatrix, startLight);
    for (int i = 0; i < objectCount; i++)
        matCopy(sceneObjects[i].matrix, startObjects[i]);
    for (int i = 0; i < 3; i++)
        billboardAngles[i] = startBillboard[i];
    seedParticleRandom(1);
    initParticles();
    // A pointer resting at an edge would otherwise turn the camera on every replayed frame.
    edgeScrollLeft = edgeScrollRight = edgeScrollUp = edgeScrollDown = 0;
}

static int currentSecond() {
    int second = lesson.framesPlayed > 0 ? (lesson.framesPlayed - 1) / lesson.framesPerSecond : 0;
    return second < REPLAY_LAST_SECOND ? second : REPLAY_LAST_SECOND;
}

static void lessonFrame() {
    if (seekPending) {
        seekPending = false;
        restoreStart();
        beginReplay();
        lesson.framesPlayed = 0;
        for (int second = 0; second <= seekSecond; second++)
            for (int i = 0; i < lesson.framesPerSecond; i++, lesson.framesPlayed++)
                replayFrame(second, false);
    } else if (lesson.playing) {
        int second = lesson.framesPlayed / lesson.framesPerSecond;
        replayFrame(second < REPLAY_LAST_SECOND ? second : REPLAY_LAST_SECOND, false);
        lesson.framesPlayed++;
    } else {
        // The script stands; the user still steers, as the frame's step would let them.
        applyEdgeScroll();
        keepEyeOverSand();
    }
    GLhandleARB program = shadowVariant(lesson.shadows);
    // Said once; the view then shows the shipped setting.
    static bool told = false;
    if (!program && !told) {
        told = true;
        EM_ASM(
            Module.showMessage('Dust Riders', 'the lesson could not build its shadow program', ""));
    }
    if (!program)
        program = shadowProgram;
    DepthStretch stretch = {0, 0};
    drawPassView(lesson.view, program, shownView, &stretch);
    // The view as the page's pictures hold it, before any lines go over it.
    EM_ASM(
        {
            if (Module.onLessonView)
                Module.onLessonView($0, HEAPU8.subarray($1, $1 + $2), $3, $4, $5, $6);
        },
        currentSecond(), shownView.data(), shownView.size(), windowWidth, windowHeight,
        stretch.nearest, stretch.farthest);
    if (lesson.view == VIEW_DEPTH || lesson.view == VIEW_DIFFERENCE)
        showImage(shownView);
    if (lesson.lines) {
        if (lesson.view == VIEW_DEPTH)
            drawCameraFootprint();
        else
            drawLightFrustum();
    }
    glutSwapBuffers();
}

void runLesson() {
    keepStart();
    if (!preparePassViews())
        EM_ASM(Module.showMessage('Dust Riders', 'the lesson could not build its programs', ""));
    glutDisplayFunc(lessonFrame);
    glutIdleFunc(lessonFrame);
    EM_ASM(if (Module.onLessonReady) Module.onLessonReady(););
    glutMainLoop();
}

extern "C" {

EMSCRIPTEN_KEEPALIVE void lessonSeek(int second, int framesPerSecond) {
    if (second < 0 || second > REPLAY_LAST_SECOND || framesPerSecond < 1 ||
        framesPerSecond > LESSON_MAX_FRAMES_PER_SECOND) {
        EM_ASM(
            {
                Module.showMessage('Dust Riders',
                                   'the lesson cannot seek to second ' + $0 + ' at ' + $1 +
                                       ' frames a second',
                                   "");
            },
            second, framesPerSecond);
        return;
    }
    seekSecond = second;
    lesson.framesPerSecond = framesPerSecond;
    seekPending = true;
}

EMSCRIPTEN_KEEPALIVE void lessonPlay(int playing) {
    lesson.playing = playing != 0;
}

EMSCRIPTEN_KEEPALIVE void lessonShowView(int view) {
    if (view >= 0 && view < PASS_VIEW_KINDS)
        lesson.view = (PassView)view;
}

EMSCRIPTEN_KEEPALIVE void lessonShadows(double biasScale, int oneTap) {
    if (biasScale >= 0.0 && biasScale <= MAX_BIAS_SCALE)
        lesson.shadows = {biasScale, oneTap != 0};
}

EMSCRIPTEN_KEEPALIVE void lessonLines(int on) {
    lesson.lines = on != 0;
}

EMSCRIPTEN_KEEPALIVE int lessonSecond() {
    return currentSecond();
}

EMSCRIPTEN_KEEPALIVE int lessonCropCorner(int coordinate) {
    int x = 0, y = 0;
    sceneStripCrop(x, y);
    return coordinate == 0 ? x : y;
}

} // extern "C"
