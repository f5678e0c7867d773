// Switches, lights, material, masks and queries. A call that changes how the batch would be
// drawn draws it first: WebGL's own state always, state that becomes uniforms only where the
// batch's program reads it (the fixed program reads no light, material or switch but
// GL_TEXTURE_2D on unit 0). A call that changes nothing is skipped, so the particle pass's
// repeated glEnable, glBlendFunc and glColor calls do not split its batch.
#include <cstdio>
#include <cstring>

#include "platform/web/glLayer.h"
#include "platform/web/webgl.h"

static const char* const EXTENSIONS[] = {"GL_ARB_multitexture", "GL_EXT_framebuffer_object",
                                         "GL_ARB_shader_objects"};
static const int EXTENSION_COUNT = 3;

static bool blendOn, depthTestOn, depthWrites = true;
static GLenum blendSource = GL_ONE, blendDestination = GL_ZERO;
static float clearColor[4];

// ---- helpers ----
static void setCapability(GLenum cap, bool on);
static bool changeFlag(bool& flag, bool on);
static void copy4(float* out, const GLfloat* in);

// Draws the batch before a flag that matters to it changes; false when nothing changes.
static bool changeFlag(bool& flag, bool on) {
    if (flag == on)
        return false;
    flushBatch();
    flag = on;
    return true;
}

static void copy4(float* out, const GLfloat* in) {
    memcpy(out, in, 4 * sizeof(float));
}

static void setCapability(GLenum cap, bool on) {
    switch (cap) {
    case GL_BLEND:
    case GL_DEPTH_TEST:
    case GL_CULL_FACE: {
        bool& flag = cap == GL_BLEND        ? blendOn
                     : cap == GL_DEPTH_TEST ? depthTestOn
                                            : layer.cullFaces;
        if (changeFlag(flag, on))
            (on ? emscripten_glEnable : emscripten_glDisable)(cap);
        return;
    }
    case GL_TEXTURE_2D:
        if (layer.texture2d[layer.activeUnit] != on)
            flushBatchIfRead(READS_TEXTURING, layer.activeUnit);
        layer.texture2d[layer.activeUnit] = on;
        return;
    // No program reads the lighting switches: the demo's shader lights what it draws.
    case GL_LIGHTING:
        layer.lighting = on;
        return;
    case GL_COLOR_MATERIAL:
        // Enabling it sets the material from the current colour at once, as GL does.
        if (on && !layer.colorMaterial) {
            flushBatchIfRead(READS_MATERIAL, 0);
            memcpy(layer.material.ambient, layer.color, sizeof layer.color);
            memcpy(layer.material.diffuse, layer.color, sizeof layer.color);
        }
        layer.colorMaterial = on;
        return;
    default:
        if (cap >= GL_LIGHT0 && cap < GL_LIGHT0 + LAYER_LIGHTS) {
            layer.lightEnabled[cap - GL_LIGHT0] = on;
            return;
        }
        layerUnsupported("glEnable or glDisable of a capability the demo does not use");
    }
}

void layerUnsupported(const char* what) {
    static const char* reported[32];
    static int reportedCount;
    for (int i = 0; i < reportedCount; i++)
        if (reported[i] == what)
            return;
    if (reportedCount < 32)
        reported[reportedCount++] = what;
    fprintf(stderr, "WebGL layer: not supported: %s\n", what);
}

extern "C" {

void glEnable(GLenum cap) {
    setCapability(cap, true);
}

void glDisable(GLenum cap) {
    setCapability(cap, false);
}

void glBlendFunc(GLenum source, GLenum destination) {
    if (source == blendSource && destination == blendDestination)
        return;
    flushBatch();
    blendSource = source;
    blendDestination = destination;
    emscripten_glBlendFunc(source, destination);
}

void glDepthMask(GLboolean flag) {
    if (changeFlag(depthWrites, flag != GL_FALSE))
        emscripten_glDepthMask(flag);
}

void glColorMask(GLboolean r, GLboolean g, GLboolean b, GLboolean a) {
    int given = (r ? 1 : 0) | (g ? 2 : 0) | (b ? 4 : 0) | (a ? 8 : 0);
    if (given == layer.colorMask)
        return;
    flushBatch();
    layer.colorMask = given;
    layer.colorWrites = given != 0;
    emscripten_glColorMask(r, g, b, a);
}

void glCullFace(GLenum mode) {
    if (mode == layer.cullMode)
        return;
    flushBatch();
    layer.cullMode = mode;
    emscripten_glCullFace(mode);
}

void glClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    const float color[4] = {r, g, b, a};
    if (memcmp(color, clearColor, sizeof color) == 0)
        return;
    copy4(clearColor, color);
    emscripten_glClearColor(r, g, b, a);
}

void glClear(GLbitfield mask) {
    flushBatch();
    emscripten_glClear(mask);
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    flushBatch();
    const int given[4] = {x, y, width, height};
    memcpy(layer.viewport, given, sizeof given);
    emscripten_glViewport(x, y, width, height);
}

void glPolygonMode(GLenum face, GLenum mode) {
    if (face != GL_FRONT_AND_BACK)
        layerUnsupported("glPolygonMode for one face");
    layer.polygonMode = mode == GL_LINE ? GL_LINE : GL_FILL;
}

// GL_SMOOTH is what every WebGL varying does; GL_FLAT is not asked for.
void glShadeModel(GLenum mode) {
    if (mode != GL_SMOOTH)
        layerUnsupported("glShadeModel other than GL_SMOOTH");
}

// Perspective-correct interpolation is all WebGL does.
void glHint(GLenum, GLenum) {}

void glLightfv(GLenum light, GLenum name, const GLfloat* values) {
    if (light < GL_LIGHT0 || light >= GL_LIGHT0 + LAYER_LIGHTS) {
        layerUnsupported("lights other than GL_LIGHT0 and GL_LIGHT1");
        return;
    }
    flushBatchIfRead(READS_LIGHT, light - GL_LIGHT0);
    LightState& l = layer.lights[light - GL_LIGHT0];
    if (name == GL_AMBIENT)
        copy4(l.ambient, values);
    else if (name == GL_DIFFUSE)
        copy4(l.diffuse, values);
    else if (name == GL_SPECULAR)
        copy4(l.specular, values);
    else if (name == GL_POSITION) {
        // Stored in eye coordinates: the modelview of this moment applies.
        const float* m = layer.modelview.matrices[layer.modelview.top];
        for (int r = 0; r < 4; r++)
            l.position[r] = m[r] * values[0] + m[4 + r] * values[1] + m[8 + r] * values[2] +
                            m[12 + r] * values[3];
    } else
        layerUnsupported("glLightfv of a spot or attenuation value");
}

void glMaterialfv(GLenum face, GLenum name, const GLfloat* values) {
    // Back faces are never lit by the demo's shader; GL_FRONT_AND_BACK sets the front too.
    if (face == GL_BACK)
        return;
    flushBatchIfRead(READS_MATERIAL, 0);
    MaterialState& m = layer.material;
    if (name == GL_AMBIENT)
        copy4(m.ambient, values);
    else if (name == GL_DIFFUSE)
        copy4(m.diffuse, values);
    else if (name == GL_SPECULAR)
        copy4(m.specular, values);
    else if (name == GL_SHININESS)
        m.shininess = values[0];
    else
        layerUnsupported("glMaterialfv of emission or colour indexes");
}

void glGetIntegerv(GLenum name, GLint* out) {
    switch (name) {
    case GL_VIEWPORT:
        memcpy(out, layer.viewport, sizeof layer.viewport);
        return;
    case GL_TEXTURE_BINDING_2D:
        *out = (GLint)layer.boundTexture[layer.activeUnit];
        return;
    case GL_UNPACK_ALIGNMENT:
        *out = layer.unpackAlignment;
        return;
    case GL_NUM_EXTENSIONS:
        *out = EXTENSION_COUNT;
        return;
    case GL_MAX_TEXTURE_SIZE:
    case GL_MAX_RENDERBUFFER_SIZE:
        emscripten_glGetIntegerv(name, out);
        return;
    default:
        layerUnsupported("glGetIntegerv of a value the demo does not ask for");
        *out = 0;
    }
}

// The extensions the layer answers, the ones the demo's entry points come from.
const GLubyte* glGetStringi(GLenum name, GLuint index) {
    if (name != GL_EXTENSIONS || index >= (GLuint)EXTENSION_COUNT)
        return nullptr;
    return (const GLubyte*)EXTENSIONS[index];
}

const GLubyte* glGetString(GLenum name) {
    static char list[128];
    if (name != GL_EXTENSIONS)
        return (const GLubyte*)"";
    list[0] = '\0';
    for (int i = 0; i < EXTENSION_COUNT; i++)
        snprintf(list + strlen(list), sizeof list - strlen(list), "%s%s", i ? " " : "",
                 EXTENSIONS[i]);
    return (const GLubyte*)list;
}

} // extern "C"

// The shadow target has no colour buffer; WebGL 2 spells GL_NONE for it as a list of one.
extern "C" void glDrawBuffer(GLenum mode) {
    emscripten_glDrawBuffers(1, &mode);
}
