// inputState < EVENTS: the demo's state after a sequence of GLUT callbacks, run through the
// desktop's own callbacks, printed as the page's webState() prints it. The page's input checks
// give it the state the page started from and the callbacks a desktop would get for their input,
// and hold its answer against what the page reports. One line each:
//   camera M0 .. M15 | object I M0 .. M15 | count N | selected N | window W H | wireframe N
//   edges L R U D | anchor X Y
//   mouse BUTTON STATE X Y | motion X Y | passive X Y | entry STATE | special KEY | key CODE
// The wheel asks GLUT for a redisplay, which wants a window: one is opened (on DISPLAY) and never
// drawn.
#include <GL/freeglut.h>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/pointerInput.h"
#include "app/window.h"
#include "math/angleTables.h"
#include "math/transforms.h"
#include "scene/sceneStore.h"

// ---- helpers ----
static bool readMatrix(const char* text, float* out);
static void printMatrix(const float* m);
static bool runLine(const char* line);

static bool readMatrix(const char* text, float* out) {
    int used = 0;
    for (int i = 0; i < 16; i++) {
        int n = 0;
        if (sscanf(text + used, "%f%n", &out[i], &n) != 1)
            return false;
        used += n;
    }
    return true;
}

static void printMatrix(const float* m) {
    for (int i = 0; i < 16; i++)
        printf("%s%.9g", i ? "," : "[", m[i]);
    printf("]");
}

static bool runLine(const char* line) {
    char word[32] = "";
    int n = 0, a = 0, b = 0, c = 0, d = 0;
    if (sscanf(line, "%31s%n", word, &n) != 1)
        return true; // blank
    const char* rest = line + n;
    if (strcmp(word, "camera") == 0)
        return readMatrix(rest, cameraMatrix);
    if (strcmp(word, "object") == 0 && sscanf(rest, "%d%n", &a, &n) == 1 && a >= 0 &&
        a < MAX_OBJECTS)
        return readMatrix(rest + n, sceneObjects[a].matrix);
    if (strcmp(word, "count") == 0 && sscanf(rest, "%d", &a) == 1 && a >= 0 && a <= MAX_OBJECTS)
        return (objectCount = a), true;
    if (strcmp(word, "selected") == 0 && sscanf(rest, "%d", &a) == 1)
        return (selectedObject = a), true;
    if (strcmp(word, "window") == 0 && sscanf(rest, "%d %d", &a, &b) == 2)
        return (windowWidth = a), (windowHeight = b), true;
    if (strcmp(word, "wireframe") == 0 && sscanf(rest, "%d", &a) == 1)
        return (wireframeOff = a), true;
    if (strcmp(word, "edges") == 0 && sscanf(rest, "%d %d %d %d", &a, &b, &c, &d) == 4)
        return (edgeScrollLeft = a), (edgeScrollRight = b), (edgeScrollUp = c),
               (edgeScrollDown = d), true;
    if (strcmp(word, "anchor") == 0 && sscanf(rest, "%d %d", &a, &b) == 2)
        return (dragAnchorX = a), (dragAnchorY = b), true;
    if (strcmp(word, "mouse") == 0 && sscanf(rest, "%d %d %d %d", &a, &b, &c, &d) == 4)
        return mouseButton(a, b, c, d), true;
    if (strcmp(word, "motion") == 0 && sscanf(rest, "%d %d", &a, &b) == 2)
        return mouseDrag(a, b), true;
    if (strcmp(word, "passive") == 0 && sscanf(rest, "%d %d", &a, &b) == 2)
        return passiveMotion(a, b), true;
    if (strcmp(word, "entry") == 0 && sscanf(rest, "%d", &a) == 1)
        return mouseEntry(a), true;
    if (strcmp(word, "special") == 0 && sscanf(rest, "%d", &a) == 1)
        return specialKeyInput(a, 0, 0), true;
    // Escape would end this program as it ends the demo: the checks test it on the page alone.
    if (strcmp(word, "key") == 0 && sscanf(rest, "%d", &a) == 1 && a > 0 && a < 256 && a != 27)
        return keyboardInput((unsigned char)a, 0, 0), true;
    return false;
}

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutCreateWindow("inputState");
    buildAngleTables(); // the turns read them, as after the demo's start
    char line[4096];
    int number = 0;
    while (fgets(line, sizeof line, stdin)) {
        number++;
        if (!runLine(line)) {
            fprintf(stderr, "inputState: line %d not understood: %s", number, line);
            return 2;
        }
    }
    printf("{\"camera\":");
    printMatrix(cameraMatrix);
    printf(",\"objects\":[");
    for (int i = 0; i < objectCount; i++) {
        printf("%s", i ? "," : "");
        printMatrix(sceneObjects[i].matrix);
    }
    printf("],\"selected\":%d,\"wireframeOff\":%d,\"width\":%d,\"height\":%d,"
           "\"edges\":[%d,%d,%d,%d],\"dragAnchor\":[%d,%d]}\n",
           selectedObject, wireframeOff, windowWidth, windowHeight, edgeScrollLeft, edgeScrollRight,
           edgeScrollUp, edgeScrollDown, dragAnchorX, dragAnchorY);
    return 0;
}
