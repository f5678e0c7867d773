// The GLUT calls the demo makes, answered on a WebGL 2 canvas: the browser's HTML5 events call
// the demo's callbacks, and requestAnimationFrame, through Emscripten's main loop, drives the
// frames, so the show runs at the display's rate as on a desktop with vertical sync.
#include <GL/freeglut.h>
#include <cstring>
#include <emscripten.h>
#include <emscripten/html5.h>

#include "platform/web/glLayer.h"
#include "platform/web/glutShell.h"

static const char* const CANVAS = "#canvas";
static const int WHEEL_UP_BUTTON = 3; // freeglut's numbers for the wheel
static const int WHEEL_DOWN_BUTTON = 4;

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
static int pointerX, pointerY; // pixels on the canvas, origin top left

// ---- helpers ----
static void runFrame();
static EM_BOOL onMouse(int type, const EmscriptenMouseEvent* e, void*);
static EM_BOOL onWheel(int type, const EmscriptenWheelEvent* e, void*);
static EM_BOOL onKey(int type, const EmscriptenKeyboardEvent* e, void*);
static int specialKeyOf(const char* key);

static void runFrame() {
    if (idleCallback)
        idleCallback();
    else if (displayCallback)
        displayCallback();
    EM_ASM(if (Module.afterFrame) Module.afterFrame(););
}

static EM_BOOL onMouse(int type, const EmscriptenMouseEvent* e, void*) {
    pointerX = (int)e->targetX;
    pointerY = (int)e->targetY;
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

// One wheel step gives a press and a release, as freeglut reports it.
static EM_BOOL onWheel(int, const EmscriptenWheelEvent* e, void*) {
    if (mouseCallback == nullptr || e->deltaY == 0)
        return EM_TRUE;
    int button = e->deltaY < 0 ? WHEEL_UP_BUTTON : WHEEL_DOWN_BUTTON;
    mouseCallback(button, GLUT_DOWN, pointerX, pointerY);
    mouseCallback(button, GLUT_UP, pointerX, pointerY);
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

// Handled keys return true, which keeps the page from scrolling on them.
static EM_BOOL onKey(int, const EmscriptenKeyboardEvent* e, void*) {
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
    if (key == 0 || e->ctrlKey || e->altKey || e->metaKey)
        return EM_FALSE;
    if (keyboardCallback)
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
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_create_context(CANVAS, &attributes);
    if (context <= 0) {
        EM_ASM(if (Module.onNoWebGL) Module.onNoWebGL(););
        emscripten_force_exit(1);
    }
    emscripten_webgl_make_context_current(context);
    initLayer(initialWidth, initialHeight);
    emscripten_set_mousedown_callback(CANVAS, nullptr, EM_TRUE, onMouse);
    emscripten_set_mouseup_callback(CANVAS, nullptr, EM_TRUE, onMouse);
    emscripten_set_mousemove_callback(CANVAS, nullptr, EM_TRUE, onMouse);
    emscripten_set_mouseenter_callback(CANVAS, nullptr, EM_TRUE, onMouse);
    emscripten_set_mouseleave_callback(CANVAS, nullptr, EM_TRUE, onMouse);
    emscripten_set_wheel_callback(CANVAS, nullptr, EM_TRUE, onWheel);
    emscripten_set_keydown_callback(CANVAS, nullptr, EM_TRUE, onKey);
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
void glutSwapBuffers() {
    flushBatch();
}

void glutMainLoop() {
    // GLUT reshapes a new window before its first frame.
    if (reshapeCallback)
        reshapeCallback(initialWidth, initialHeight);
    emscripten_set_main_loop(runFrame, 0, 1);
}

} // extern "C"

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
