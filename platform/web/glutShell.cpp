// The GLUT calls the demo makes, answered on a WebGL 2 canvas: the browser's HTML5 events call
// the demo's callbacks, and requestAnimationFrame, through Emscripten's main loop, drives the
// frames, so the show runs at the display's rate as on a desktop with vertical sync.
#include <GL/freeglut.h>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <emscripten.h>
#include <emscripten/html5.h>

#include "platform/web/glLayer.h"
#include "platform/web/glutShell.h"

static const char* const CANVAS = "#canvas";
static const int WHEEL_UP_BUTTON = 3; // freeglut's numbers for the wheel
static const int WHEEL_DOWN_BUTTON = 4;
// A notched wheel sends about 100 pixels, or 3 lines, a notch: that is one step, and a trackpad's
// small events add up to it.
static const double WHEEL_PIXELS_PER_STEP = 100.0;
static const double WHEEL_LINES_PER_STEP = 3.0;
// Two fingers moving this many CSS pixels apart (or together) give one wheel step forward (back).
static const double PINCH_PIXELS_PER_STEP = 40.0;
static const int MAX_TOUCHES = 32;

static int initialWidth = 640, initialHeight = 480; // pixels
static void (*displayCallback)();
static void (*idleCallback)();
static void (*reshapeCallback)(int, int);
static void (*mouseCallback)(int, int, int, int);
static void (*motionCallback)(int, int);
static void (*passiveCallback)(int, int);
static void (*entryCallback)(int);
static void (*keyboardCallback)(unsigned char, int, int);
static void (*specialCallback)(int, int, int);
static int pointerX, pointerY; // drawing-buffer pixels on the canvas, origin top left
static double wheelPending;    // part of a step, signed: negative toward the viewer
static bool followPage;        // the canvas follows its CSS size (not in the tests' modes)
static int touchCount;         // fingers on the picture
static bool touchDragging;     // one finger holds the left button
static double pinchStart;      // CSS pixels between the two fingers at the last step
static bool pinched;           // a pinch began: no drag until every finger is up

// ---- helpers ----
static void runFrame();
static void followCanvasSize();
static void toBufferPixels(double cssX, double cssY, int* x, int* y);
static void wheelSteps(int steps);
static EM_BOOL onMouse(int type, const EmscriptenMouseEvent* e, void*);
static EM_BOOL onWheel(int type, const EmscriptenWheelEvent* e, void*);
static EM_BOOL onKey(int type, const EmscriptenKeyboardEvent* e, void*);
static EM_BOOL onTouch(int type, const EmscriptenTouchEvent* e, void*);
static int specialKeyOf(const char* key);

static void runFrame() {
    if (followPage)
        followCanvasSize();
    if (idleCallback)
        idleCallback();
    else if (displayCallback)
        displayCallback();
    EM_ASM(if (Module.afterFrame) Module.afterFrame(););
}

// The drawing buffer is the picture's CSS size times the device pixel ratio, so a 2x screen is
// sharp; every change reaches the reshape callback, as a desktop window's resize does.
static void followCanvasSize() {
    double cssWidth = 0, cssHeight = 0;
    emscripten_get_element_css_size(CANVAS, &cssWidth, &cssHeight);
    double ratio = emscripten_get_device_pixel_ratio();
    int width = (int)(cssWidth * ratio + 0.5), height = (int)(cssHeight * ratio + 0.5);
    int currentWidth = 0, currentHeight = 0;
    emscripten_get_canvas_element_size(CANVAS, &currentWidth, &currentHeight);
    if (width < 1 || height < 1 || (width == currentWidth && height == currentHeight))
        return;
    emscripten_set_canvas_element_size(CANVAS, width, height);
    if (reshapeCallback)
        reshapeCallback(width, height);
}

// Events come in CSS pixels; the demo counts drawing-buffer pixels, as the desktop counts the
// window's. Points outside the picture (a captured drag) stay outside.
static void toBufferPixels(double cssX, double cssY, int* x, int* y) {
    double cssWidth = 0, cssHeight = 0;
    int width = 0, height = 0;
    emscripten_get_element_css_size(CANVAS, &cssWidth, &cssHeight);
    emscripten_get_canvas_element_size(CANVAS, &width, &height);
    *x = cssWidth > 0 ? (int)floor(cssX * width / cssWidth) : (int)cssX;
    *y = cssHeight > 0 ? (int)floor(cssY * height / cssHeight) : (int)cssY;
}

// Each step gives a press and a release, as freeglut reports a wheel notch. Positive: forward.
static void wheelSteps(int steps) {
    if (mouseCallback == nullptr)
        return;
    int button = steps > 0 ? WHEEL_UP_BUTTON : WHEEL_DOWN_BUTTON;
    for (int i = 0; i < abs(steps); i++) {
        mouseCallback(button, GLUT_DOWN, pointerX, pointerY);
        mouseCallback(button, GLUT_UP, pointerX, pointerY);
    }
}

static EM_BOOL onMouse(int type, const EmscriptenMouseEvent* e, void*) {
    toBufferPixels(e->targetX, e->targetY, &pointerX, &pointerY);
    if (type == EMSCRIPTEN_EVENT_MOUSEDOWN || type == EMSCRIPTEN_EVENT_MOUSEUP) {
        // DOM buttons 0, 1, 2 are left, middle, right, as GLUT numbers them.
        if (mouseCallback && e->button <= 2)
            mouseCallback(e->button, type == EMSCRIPTEN_EVENT_MOUSEDOWN ? GLUT_DOWN : GLUT_UP,
                          pointerX, pointerY);
        return EM_TRUE;
    }
    if (type == EMSCRIPTEN_EVENT_MOUSEMOVE) {
        if (e->buttons != 0 && motionCallback)
            motionCallback(pointerX, pointerY);
        else if (e->buttons == 0 && passiveCallback)
            passiveCallback(pointerX, pointerY);
        return EM_TRUE;
    }
    if (entryCallback)
        entryCallback(type == EMSCRIPTEN_EVENT_MOUSELEAVE ? GLUT_LEFT : GLUT_ENTERED);
    return EM_TRUE;
}

// Steps are counted from the event's size; what is left of a step waits for the next event in
// the same direction.
static EM_BOOL onWheel(int, const EmscriptenWheelEvent* e, void*) {
    double steps = e->deltaMode == DOM_DELTA_PIXEL  ? e->deltaY / WHEEL_PIXELS_PER_STEP
                   : e->deltaMode == DOM_DELTA_LINE ? e->deltaY / WHEEL_LINES_PER_STEP
                                                    : e->deltaY;
    // DOM's positive deltaY scrolls down, toward the viewer: the camera moves back.
    steps = -steps;
    if (steps == 0 || !std::isfinite(steps))
        return EM_TRUE;
    if ((steps > 0) != (wheelPending > 0))
        wheelPending = 0;
    wheelPending += steps;
    int whole = (int)std::trunc(wheelPending + (wheelPending > 0 ? 1e-9 : -1e-9));
    wheelPending -= whole;
    wheelSteps(whole);
    return EM_TRUE;
}

// One finger is the left button held; a second finger turns the gesture into a pinch, whose
// spread moves the camera as the wheel does.
static EM_BOOL onTouch(int type, const EmscriptenTouchEvent* e, void*) {
    const EmscriptenTouchPoint* held[MAX_TOUCHES];
    int count = 0;
    bool ending = type == EMSCRIPTEN_EVENT_TOUCHEND || type == EMSCRIPTEN_EVENT_TOUCHCANCEL;
    for (int i = 0; i < e->numTouches && i < MAX_TOUCHES; i++)
        if (!(ending && e->touches[i].isChanged))
            held[count++] = &e->touches[i];
    const EmscriptenTouchPoint* first = count > 0 ? held[0] : &e->touches[0];
    toBufferPixels(first->targetX, first->targetY, &pointerX, &pointerY);
    if (touchDragging && count != 1) {
        touchDragging = false;
        if (mouseCallback)
            mouseCallback(GLUT_LEFT_BUTTON, GLUT_UP, pointerX, pointerY);
    }
    if (count == 0)
        pinched = false;
    if (count == 1 && !pinched) {
        if (!touchDragging) {
            touchDragging = true;
            if (mouseCallback)
                mouseCallback(GLUT_LEFT_BUTTON, GLUT_DOWN, pointerX, pointerY);
        } else if (type == EMSCRIPTEN_EVENT_TOUCHMOVE && motionCallback) {
            motionCallback(pointerX, pointerY);
        }
    } else if (count >= 2) {
        double spread = hypot((double)(held[1]->targetX - held[0]->targetX),
                              (double)(held[1]->targetY - held[0]->targetY));
        if (touchCount < 2)
            pinchStart = spread;
        pinched = true;
        int steps = (int)std::trunc((spread - pinchStart) / PINCH_PIXELS_PER_STEP);
        pinchStart += steps * PINCH_PIXELS_PER_STEP;
        wheelSteps(steps);
    }
    touchCount = count;
    return EM_TRUE;
}

static int specialKeyOf(const char* key) {
    static const struct {
        const char* name;
        int glutKey;
    } KEYS[] = {{"ArrowLeft", GLUT_KEY_LEFT}, {"ArrowRight", GLUT_KEY_RIGHT},
                {"ArrowUp", GLUT_KEY_UP},     {"ArrowDown", GLUT_KEY_DOWN},
                {"PageUp", GLUT_KEY_PAGE_UP}, {"PageDown", GLUT_KEY_PAGE_DOWN}};
    for (const auto& k : KEYS)
        if (strcmp(key, k.name) == 0)
            return k.glutKey;
    return -1;
}

// Keys reach the demo while the picture has focus. Shortcuts with Ctrl, Alt or Meta, Tab and the
// function keys stay the browser's; every other key is the demo's and never scrolls the page.
static EM_BOOL onKey(int, const EmscriptenKeyboardEvent* e, void*) {
    if (e->ctrlKey || e->altKey || e->metaKey || strcmp(e->key, "Tab") == 0 ||
        (e->key[0] == 'F' && e->key[1] >= '1' && e->key[1] <= '9'))
        return EM_FALSE;
    int special = specialKeyOf(e->key);
    if (special >= 0) {
        if (specialCallback)
            specialCallback(special, pointerX, pointerY);
        return EM_TRUE;
    }
    unsigned char key = 0;
    if (strcmp(e->key, "Escape") == 0)
        key = 27;
    else if (strlen(e->key) == 1)
        key = (unsigned char)e->key[0];
    if (key == 'f' || key == 'F')
        EM_ASM(if (Module.toggleFullscreen) Module.toggleFullscreen(););
    else if (key != 0 && keyboardCallback)
        keyboardCallback(key, pointerX, pointerY);
    return EM_TRUE;
}

extern "C" {

void glutInit(int*, char**) {}
void glutInitDisplayMode(unsigned int) {}
void glutInitWindowPosition(int, int) {}

void glutInitWindowSize(int width, int height) {
    initialWidth = width;
    initialHeight = height;
}

int glutCreateWindow(const char*) {
    emscripten_set_canvas_element_size(CANVAS, initialWidth, initialHeight);
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    // The sky is cleared with alpha 0: an opaque canvas shows it as the desktop window does.
    attributes.alpha = EM_FALSE;
    attributes.depth = EM_TRUE;
    attributes.antialias = EM_FALSE;
    // A desynchronized canvas reaches the screen apart from the page's own frames: Chromium
    // shows one of ours while we draw the next (3 to 4 ms a frame on llvmpipe, and still one
    // shown per frame drawn). Emscripten's attributes have no field for it, so the canvas's own
    // getContext adds it. Browsers without it ignore it.
    EM_ASM(
        {
            var canvas = document.querySelector(UTF8ToString($0));
            var getContext = canvas.getContext;
            canvas.getContext = function(kind, wanted) {
                return getContext.call(canvas, kind,
                                       Object.assign({}, wanted, {desynchronized : true}));
            };
        },
        CANVAS);
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_create_context(CANVAS, &attributes);
    if (context <= 0) {
        EM_ASM(if (Module.onNoWebGL) Module.onNoWebGL(););
        emscripten_force_exit(1);
    }
    emscripten_webgl_make_context_current(context);
    keepLayerForRestore();
    initLayer(initialWidth, initialHeight);
    emscripten_set_mousedown_callback(CANVAS, nullptr, EM_TRUE, onMouse);
    emscripten_set_mouseup_callback(CANVAS, nullptr, EM_TRUE, onMouse);
    emscripten_set_mousemove_callback(CANVAS, nullptr, EM_TRUE, onMouse);
    emscripten_set_mouseenter_callback(CANVAS, nullptr, EM_TRUE, onMouse);
    emscripten_set_mouseleave_callback(CANVAS, nullptr, EM_TRUE, onMouse);
    emscripten_set_wheel_callback(CANVAS, nullptr, EM_TRUE, onWheel);
    emscripten_set_keydown_callback(CANVAS, nullptr, EM_TRUE, onKey);
    emscripten_set_touchstart_callback(CANVAS, nullptr, EM_TRUE, onTouch);
    emscripten_set_touchmove_callback(CANVAS, nullptr, EM_TRUE, onTouch);
    emscripten_set_touchend_callback(CANVAS, nullptr, EM_TRUE, onTouch);
    emscripten_set_touchcancel_callback(CANVAS, nullptr, EM_TRUE, onTouch);
    return 1;
}

void glutDisplayFunc(void (*callback)()) {
    displayCallback = callback;
}
void glutIdleFunc(void (*callback)()) {
    idleCallback = callback;
}
void glutReshapeFunc(void (*callback)(int, int)) {
    reshapeCallback = callback;
}
void glutMouseFunc(void (*callback)(int, int, int, int)) {
    mouseCallback = callback;
}
void glutMotionFunc(void (*callback)(int, int)) {
    motionCallback = callback;
}
void glutPassiveMotionFunc(void (*callback)(int, int)) {
    passiveCallback = callback;
}
void glutEntryFunc(void (*callback)(int)) {
    entryCallback = callback;
}
void glutKeyboardFunc(void (*callback)(unsigned char, int, int)) {
    keyboardCallback = callback;
}
void glutSpecialFunc(void (*callback)(int, int, int)) {
    specialCallback = callback;
}

// Every frame draws; a request for one more has nothing to add.
void glutPostRedisplay() {}

// The browser shows the canvas when the frame's callback returns; the batch must be drawn by then.
// The frame also waits for its drawing, as a swap on the desktop's llvmpipe does (it copies the
// finished picture to the window): a page that runs a frame ahead
// shares a software rasterizer's cores with the frame being drawn, and on llvmpipe over 2 cores
// the interval between frames doubled.
void glutSwapBuffers() {
    glFinish();
}

void glutMainLoop() {
    // GLUT reshapes a new window before its first frame.
    if (reshapeCallback)
        reshapeCallback(initialWidth, initialHeight);
    // The show follows the page; the lesson keeps the demo's 640 x 480, as its pictures have it.
    followPage = EM_ASM_INT({ return Module.pageMode ? 0 : 1; }) != 0;
    emscripten_set_main_loop(runFrame, 0, 1);
}

} // extern "C"

// The touch pad's buttons: a GLUT special key, or (special < 0) an ordinary key.
extern "C" EMSCRIPTEN_KEEPALIVE void webPadPress(int special, int key) {
    if (special >= 0 && specialCallback)
        specialCallback(special, pointerX, pointerY);
    else if (special < 0 && keyboardCallback)
        keyboardCallback((unsigned char)key, pointerX, pointerY);
}

void stopFrameLoop() {
    emscripten_cancel_main_loop();
}

// Start-up calls of libraries the browser build does without: GL comes from the layer, and GLFW
// only ever started its own timer.
extern "C" GLenum glewInit() {
    return GLEW_OK;
}
extern "C" int glfwInit() {
    return 1;
}
