#include "app/pointerInput.h"

int selectedObject = 0; // index into sceneObjects
int edgeScrollLeft = 0; // 0 or 1
int edgeScrollRight = 0;
int edgeScrollUp = 0;
int edgeScrollDown = 0;
int dragAnchorX = 0; // pixels, origin top left
int dragAnchorY = 0;

void specialKeyInput(int, int, int) {}
void mouseButton(int, int, int, int) {}
void passiveMotion(int, int) {}
void mouseDrag(int, int) {}
void mouseEntry(int) {}
void applyEdgeScroll() {}
