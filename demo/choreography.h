#pragma once
#include <ctime>

extern time_t startTime;   // calendar seconds when the scene started loading
extern int elapsedSeconds; // whole seconds since startTime, recomputed every frame

// Reads the clock and recomputes elapsedSeconds; first step of every frame.
void updateElapsedSeconds();
// Runs the script's phase for elapsedSeconds: once-only setups, then per-frame moves.
void runChoreography();
