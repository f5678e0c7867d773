#include "demo/replay.h"

#include <ctime>

#include "app/pointerInput.h"
#include "demo/choreography.h"
#include "demo/clock.h"
#include "particles/particles.h"
#include "scene/eyeOverSand.h"
#include "render/frame.h"

// Any fixed calendar time serves: only differences from startTime reach the script.
static const time_t REPLAY_EPOCH = 1000000000;
static int replaySecond; // script seconds the driven clock is past REPLAY_EPOCH

// ---- helpers ----
static time_t readReplayClock(time_t* out);

static time_t readReplayClock(time_t* out) {
    time_t now = REPLAY_EPOCH + replaySecond;
    if (out)
        *out = now;
    return now;
}

void beginReplay() {
    replaySecond = 0;
    calendarClock = readReplayClock;
    startTime = REPLAY_EPOCH;
}

void endReplay() {
    calendarClock = time;
}

void replayFrame(int second, bool draw) {
    replaySecond = second;
    if (draw) {
        displayFrame();
        return;
    }
    updateElapsedSeconds();
    applyEdgeScroll();
    runChoreography();
    keepEyeOverSand();
    updateParticles();
}

int replayScript(int framesPerSecond, int lastSecond, bool everyFrame, ReplayShot shot,
                 void* context) {
    int frame = 0;
    for (int second = 0; second <= lastSecond; second++) {
        for (int i = 0; i < framesPerSecond; i++, frame++) {
            bool draw = everyFrame || i == framesPerSecond - 1;
            replayFrame(second, draw);
            if (draw && shot)
                shot(second, frame, context);
        }
    }
    return frame;
}
