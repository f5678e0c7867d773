#pragma once
// The script as a machine with a steady frame rate plays it: a driven calendar clock advances
// one second every `framesPerSecond` frames, and loading takes no script time. The script moves
// per frame, so what a replay shows depends on its rate, as the running demo's show does.

const int REPLAY_LAST_SECOND = 26; // the script ends at 24; the scene then rests

// Puts the frame's clock under the replay and starts the script at second 0, whether the scene
// is initialised before or after this call.
void beginReplay();
// Hands the frame its calendar clock back.
void endReplay();
// One frame at the given script second: the frame's own steps without drawing (clock, edge
// scroll, script, particle update), or the whole frame through displayFrame when `draw` is set.
void replayFrame(int second, bool draw);

// Called after each drawn frame, with its picture in the back buffer.
typedef void (*ReplayShot)(int second, int frame, void* context);
// Plays seconds 0 .. lastSecond, framesPerSecond frames each. Draws the last frame of every
// second, or every frame when `everyFrame`; returns the number of frames played.
int replayScript(int framesPerSecond, int lastSecond, bool everyFrame, ReplayShot shot,
                 void* context);
