#pragma once

extern int selectedObject;
extern int edgeScrollLeft;
extern int edgeScrollRight;
extern int edgeScrollUp;
extern int edgeScrollDown;
extern int dragAnchorX;
extern int dragAnchorY;

void specialKeyInput(int key, int x, int y);
void mouseButton(int button, int state, int x, int y);
void passiveMotion(int x, int y);
void mouseDrag(int x, int y);
void mouseEntry(int state);
void applyEdgeScroll();
