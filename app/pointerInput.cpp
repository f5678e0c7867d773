#include "app/pointerInput.h"

#include <GL/freeglut.h>

#include "app/sceneInit.h"
#include "app/window.h"
#include "math/transforms.h"
#include "scene/sceneStore.h"

int selectedObject = 0;  // index into sceneObjects, 0 .. objectCount - 1
int edgeScrollLeft = 0;  // 0 or 1
int edgeScrollRight = 0; // 0 or 1
int edgeScrollUp = 0;    // 0 or 1
int edgeScrollDown = 0;  // 0 or 1
int dragAnchorX = 0;     // pixels, origin top left, of the last left-button event
int dragAnchorY = 0;     // pixels, origin top left

static const int KEY_TURN = 20;  // tenths of a degree per key event
static const int EDGE_TURN = 5;  // tenths of a degree per frame
static const int DRAG_STEP = 25; // pixels of drag per world unit
static const int WHEEL_UP = 3;   // freeglut's button numbers for the wheel
static const int WHEEL_DOWN = 4;

// ---- helpers ----
static void turnSelected(int ax, int ay, int az);

// A selection that names no loaded object (nothing loaded at all) turns nothing.
static void turnSelected(int ax, int ay, int az) {
    if (selectedObject < 0 || selectedObject >= objectCount || selectedObject >= MAX_OBJECTS)
        return;
    objectRotate(sceneObjects[selectedObject].matrix, ax, ay, az);
}

void specialKeyInput(int key, int, int) {
    // With no object loaded there is nothing to select.
    if (objectCount <= 0)
        return;
    switch (key) {
    case GLUT_KEY_LEFT:
        turnSelected(0, 0, KEY_TURN);
        break;
    case GLUT_KEY_RIGHT:
        turnSelected(0, 0, -KEY_TURN);
        break;
    case GLUT_KEY_UP:
        turnSelected(-KEY_TURN, 0, 0);
        break;
    case GLUT_KEY_DOWN:
        turnSelected(KEY_TURN, 0, 0);
        break;
    case GLUT_KEY_PAGE_UP:
        selectedObject++;
        if (selectedObject >= objectCount)
            selectedObject = 0;
        break;
    case GLUT_KEY_PAGE_DOWN:
        selectedObject--;
        if (selectedObject < 0)
            selectedObject = objectCount - 1;
        break;
    default:
        break;
    }
}

void mouseButton(int button, int, int x, int y) {
    // The wheel ignores the state: both halves of a wheel click move the camera.
    if (button == WHEEL_UP || button == WHEEL_DOWN) {
        cameraTranslate(0, 0, button == WHEEL_UP ? 1.0f : -1.0f);
        glutPostRedisplay();
    } else if (button == GLUT_LEFT_BUTTON) {
        dragAnchorX = x;
        dragAnchorY = y;
    }
}

void mouseDrag(int x, int y) {
    // The anchor stays put, so the camera speeds up the farther the pointer is dragged.
    int stepX = (dragAnchorX - x) / DRAG_STEP;
    int stepY = (dragAnchorY - y) / DRAG_STEP;
    cameraTranslate((float)-stepX, (float)stepY, 0);
}

void passiveMotion(int x, int y) {
    int w = windowWidth;
    int h = windowHeight;
    edgeScrollRight = (x > w - w / 10 && x < w) ? 1 : 0;
    edgeScrollLeft = (x < w / 10 && x >= 0) ? 1 : 0;
    edgeScrollDown = (y > h - h / 10 && y < h) ? 1 : 0;
    // Intended asymmetry: the top row y = 0 is not part of the top zone, while x = 0 is left.
    edgeScrollUp = (y < h / 10 && y > 0) ? 1 : 0;
}

void mouseEntry(int state) {
    if (state == GLUT_LEFT) {
        edgeScrollLeft = 0;
        edgeScrollRight = 0;
        edgeScrollUp = 0;
        edgeScrollDown = 0;
    }
}

void applyEdgeScroll() {
    if (edgeScrollLeft) {
        cameraRotate(0, -EDGE_TURN, 0);
        billboardAngles[1] -= EDGE_TURN;
    }
    if (edgeScrollRight) {
        cameraRotate(0, EDGE_TURN, 0);
        billboardAngles[1] += EDGE_TURN;
    }
    if (edgeScrollUp) {
        cameraRotate(-EDGE_TURN, 0, 0);
        billboardAngles[0] -= EDGE_TURN;
    }
    if (edgeScrollDown) {
        cameraRotate(EDGE_TURN, 0, 0);
        billboardAngles[0] += EDGE_TURN;
    }
}
