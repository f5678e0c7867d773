#pragma once

// What every frame changes, in the frame's order: the clock, the edge scrolling, the script, the
// eye kept over the sand, the particles. The demo's frames and the replay's, drawn or not, all run
// this one step.
void advanceFrame();
// The whole per-frame work, registered as display and idle callback: the step, the drawing, then
// the swap that presents it.
void displayFrame();
