#include "pageReplay.h"

#include <emscripten.h>
#include <vector>

#include "app/replay.h"
#include "app/window.h"
#include "render/frameReadback.h"
#include "shotCompare.h"

const int PAGE_REPLAY_FRAMES_PER_SECOND = 25;

// ---- helpers ----
static void sendShot(int second, int frame, void* context);

// Shrunk as the replay tool keeps it: top row first.
static void sendShot(int second, int, void*) {
    std::vector<unsigned char> frame, shot;
    readBackBuffer(windowWidth, windowHeight, frame);
    scaleDownShot(frame.data(), windowWidth, windowHeight, SHOT_SCALE_DOWN, shot);
    EM_ASM({ Module.onShot($0, HEAPU8.slice($1, $1 + $4), $2, $3); }, second, shot.data(),
           windowWidth / SHOT_SCALE_DOWN, windowHeight / SHOT_SCALE_DOWN, shot.size());
}

void runPageReplay() {
    beginReplay();
    replayScript(ReplayPace{PAGE_REPLAY_FRAMES_PER_SECOND, 0}, REPLAY_LAST_SECOND, false, sendShot,
                 nullptr);
    endReplay();
    EM_ASM(Module.onReplayDone());
}
