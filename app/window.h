#pragma once

extern int windowWidth;
extern int windowHeight;
extern int wireframeOff;

void reshapeWindow(int width, int height);
void keyboardInput(unsigned char key, int x, int y);
