#pragma once
// The script as a machine plays it: a driven calendar clock advances one second after a given
// number of frames, and loading takes no script time. The script moves per frame, so what a
// replay shows depends on its pace, as the running demo's show does.

const int REPLAY_LAST_SECOND = 26; // the script ends at 24; the scene then rests

// A steady rate when `seed` is 0. Otherwise an uneven pace, the way a software renderer's wanders
// from phase to phase: each script second gets its own frame count, UNEVEN_FRAMES_MIN to
// UNEVEN_FRAMES_MAX, drawn from the seed, and `framesPerSecond` is not used.
struct ReplayPace {
    int framesPerSecond;
    unsigned seed;
};
const int UNEVEN_FRAMES_MIN = 8, UNEVEN_FRAMES_MAX = 40;

// The frames the pace gives one script second; the same for the same seed and second.
int framesInSecond(const ReplayPace& pace, int second);

// Puts the frame's clock under the replay and starts the script at second 0 with none of its
// phases set up yet, whether the scene is initialised before or after this call.
void beginReplay();
// Hands the frame its calendar clock back.
void endReplay();
// One frame at the given script second: the frame's step, then, when `draw` is set, the drawing
// into the back buffer. Nothing is presented, so a capture reads the frame it drew.
void replayFrame(int second, bool draw);

// One frame of a played pace: its script second, which of that second's `frames` it is, and its
// number from the start. The step runs the frame itself (replayFrame).
typedef void (*ReplayStep)(int second, int inSecond, int frames, int frame, void* context);
// Steps through seconds 0 .. lastSecond at the given pace, frame by frame; returns the frames.
int playPace(const ReplayPace& pace, int lastSecond, ReplayStep step, void* context);

// Called after each drawn frame, with its picture in the back buffer.
typedef void (*ReplayShot)(int second, int frame, void* context);
// Plays seconds 0 .. lastSecond at the given pace. Draws the last frame of every second, or every
// frame when `everyFrame`; returns the number of frames played.
int replayScript(const ReplayPace& pace, int lastSecond, bool everyFrame, ReplayShot shot,
                 void* context);
