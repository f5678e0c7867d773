#include "app/replay.h"

#include <cstring>
#include <ctime>

#include "app/frameLoop.h"
#include "demo/choreography.h"
#include "demo/clock.h"
#include "render/frame.h"

// Any fixed calendar time serves: only differences from startTime reach the script.
static const time_t REPLAY_EPOCH = 1000000000;
static int replaySecond; // script seconds the driven clock is past REPLAY_EPOCH

// What replayScript's frames draw and whom they show.
struct ShotStep {
    bool everyFrame;
    ReplayShot shot;
    void* context;
};

// ---- helpers ----
static time_t readReplayClock(time_t* out);
static unsigned mixBits(unsigned value);
static void stepAndShoot(int second, int inSecond, int frames, int frame, void* context);

static time_t readReplayClock(time_t* out) {
    time_t now = REPLAY_EPOCH + replaySecond;
    if (out)
        *out = now;
    return now;
}

// A well-spread hash of 32 bits: a pace is a function of its seed and the second alone, drawn
// from no sequence that anything else advances (the fountain keeps its own, particleRandom).
static unsigned mixBits(unsigned value) {
    value ^= value >> 16;
    value *= 0x7feb352dU;
    value ^= value >> 15;
    value *= 0x846ca68bU;
    value ^= value >> 16;
    return value;
}

static void stepAndShoot(int second, int inSecond, int frames, int frame, void* context) {
    const ShotStep& shots = *(const ShotStep*)context;
    bool draw = shots.everyFrame || inSecond == frames - 1;
    replayFrame(second, draw);
    if (draw && shots.shot)
        shots.shot(second, frame, shots.context);
}

int framesInSecond(const ReplayPace& pace, int second) {
    if (pace.seed == 0)
        return pace.framesPerSecond;
    unsigned bits = mixBits(pace.seed * 0x9e3779b9U + (unsigned)second);
    return UNEVEN_FRAMES_MIN + (int)(bits % (UNEVEN_FRAMES_MAX - UNEVEN_FRAMES_MIN + 1));
}

void beginReplay() {
    replaySecond = 0;
    calendarClock = readReplayClock;
    startTime = REPLAY_EPOCH;
    memset(phaseSetupDone, 0, sizeof phaseSetupDone);
}

void endReplay() {
    calendarClock = time;
}

void replayFrame(int second, bool draw) {
    replaySecond = second;
    advanceFrame();
    if (draw)
        drawFrame();
}

int playPace(const ReplayPace& pace, int lastSecond, ReplayStep step, void* context) {
    int frame = 0;
    for (int second = 0; second <= lastSecond; second++) {
        int frames = framesInSecond(pace, second);
        for (int i = 0; i < frames; i++, frame++)
            step(second, i, frames, frame, context);
    }
    return frame;
}

int replayScript(const ReplayPace& pace, int lastSecond, bool everyFrame, ReplayShot shot,
                 void* context) {
    ShotStep shots = {everyFrame, shot, context};
    return playPace(pace, lastSecond, stepAndShoot, &shots);
}
