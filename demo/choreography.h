#pragma once
#include <ctime>

extern time_t startTime;   // calendar seconds when the scene started loading
extern int elapsedSeconds; // whole seconds since startTime, recomputed every frame

const int PHASE_SETUP_COUNT = 7;
// One flag per phase with a once-only setup (phases starting at 7, 9, 11, 15, 17, 20, 22 s).
extern bool phaseSetupDone[PHASE_SETUP_COUNT];

// Reads the clock and recomputes elapsedSeconds; first step of every frame.
void updateElapsedSeconds();
// Runs the script's phase for elapsedSeconds: once-only setups, then per-frame moves.
void runChoreography();
