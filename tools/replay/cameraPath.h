#pragma once
// The camera's path through the script at a replay's pace, for the "How it works" page: one CSV
// row per frame, played by the replay's driven clock without drawing.
#include "app/replay.h"

// Writes "frame,second,eyeX,eyeY,eyeZ,setup,moved" rows for seconds 0 .. lastSecond: setup is
// the index of the once-only phase setup that ran in that frame (or empty), moved the names of
// the objects whose matrix changed, separated by spaces. False when the file cannot be written.
bool writeCameraPath(const char* path, const ReplayPace& pace, int lastSecond);
