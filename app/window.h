#pragma once
#include "render/frameSize.h"

extern int wireframeOff;

void reshapeWindow(int width, int height);
void keyboardInput(unsigned char key, int x, int y);
