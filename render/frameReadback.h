#pragma once
#include <vector>

// The frame just drawn, read from the back buffer before anything presents it (a swap leaves
// the back buffer undefined): RGB, rows tightly packed, bottom row first, as glReadPixels gives
// it. Waits for the drawing to finish.
void readBackBuffer(int width, int height, std::vector<unsigned char>& out);
