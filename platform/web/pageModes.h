#pragma once
// What the page asks of the program besides the show: the replay that the tests compare with
// the reference shots, and the benchmark. The page sets Module.pageMode from its address.

// Runs the mode the page asked for and returns true, or returns false for the show itself.
bool runPageMode();
// Stops the browser's frame loop (the show's or a mode's).
void stopFrameLoop();
