// The sixteen ARB/EXT entry points the demo looks up by name and GL 2.0's names of the shader
// calls, its shaders translated on the way in, the layer's own fixed-function program, and the
// uniforms that carry GL's state to both.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/platform.h"
#include "platform/web/glLayer.h"
#include "platform/web/shaderTranslation.h"
#include "platform/web/webgl.h"

// The uniforms that carry GL's state, one slot each, and the state group a change of it flushes.
enum UniformKind { MAT4, MAT3, INT1, FLOAT1, VEC4 };
struct UniformSlot {
    const char* name; // with %d for the index
    int index;
    UniformKind kind;
    StateGroup group;
};

static const UniformSlot SLOTS[] = {
    {"dr_ModelViewMatrix", 0, MAT4, READS_PROJECTION},
    {"dr_NormalMatrix", 0, MAT3, READS_PROJECTION},
    {"dr_ProjectionMatrix", 0, MAT4, READS_PROJECTION},
    {"dr_Texturing", 0, INT1, READS_TEXTURING},
#define UNIT_SLOT(i)                                                                               \
    { "dr_TextureMatrix[%d]", i, MAT4, READS_TEXTURE_MATRIX }
    UNIT_SLOT(0),
    UNIT_SLOT(1),
    UNIT_SLOT(2),
    UNIT_SLOT(3),
    UNIT_SLOT(4),
    UNIT_SLOT(5),
    UNIT_SLOT(6),
    UNIT_SLOT(7),
#define LIGHT_SLOTS(i)                                                                             \
    {"dr_LightSource[%d].ambient", i, VEC4, READS_LIGHT},                                          \
        {"dr_LightSource[%d].diffuse", i, VEC4, READS_LIGHT},                                      \
        {"dr_LightSource[%d].specular", i, VEC4, READS_LIGHT},                                     \
        {"dr_LightSource[%d].position", i, VEC4, READS_LIGHT},                                     \
        {"dr_FrontLightProduct[%d].ambient", i, VEC4, READS_LIGHT},                                \
        {"dr_FrontLightProduct[%d].diffuse", i, VEC4, READS_LIGHT}, {                              \
        "dr_FrontLightProduct[%d].specular", i, VEC4, READS_LIGHT                                  \
    }
    LIGHT_SLOTS(0),
    LIGHT_SLOTS(1),
    {"dr_LightModel.ambient", 0, VEC4, READS_LIGHT_MODEL},
    {"dr_FrontMaterial.ambient", 0, VEC4, READS_MATERIAL},
    {"dr_FrontMaterial.diffuse", 0, VEC4, READS_MATERIAL},
    {"dr_FrontMaterial.specular", 0, VEC4, READS_MATERIAL},
    {"dr_FrontMaterial.shininess", 0, FLOAT1, READS_MATERIAL},
};
#undef UNIT_SLOT
#undef LIGHT_SLOTS
const int SLOT_COUNT = sizeof SLOTS / sizeof SLOTS[0];
const int FIRST_LIGHT_SLOT = 12, LIGHT_SLOT_COUNT = 7, FIRST_MODEL_SLOT = 26;

// One linked WebGL program: its id, the attributes it reads, its uniforms' locations (-1 where
// it has none) and the values they last got.
struct LayerProgram {
    GLuint id;
    int format;
    int location[SLOT_COUNT];
    bool sent[SLOT_COUNT];
    float value[SLOT_COUNT][16];
};

static LayerProgram programs[LAYER_PROGRAMS];
static int programCount;
static GLuint fixedProgram;  // WebGL program standing for program 0
static GLuint depthProgram;  // the same while colour writes are masked: positions only
static GLuint activeProgram; // WebGL program in use
static GLuint foundId;       // the last program looked up, and where it is
static LayerProgram* found;

// Fixed function as the demo uses it with no program: unlit, the colour modulated by the
// unit-0 texture when GL_TEXTURE_2D is on there.
static const char* const FIXED_VERTEX =
    "#version 300 es\n"
    "in vec4 dr_Vertex;\nin vec4 dr_MultiTexCoord0;\nin vec4 dr_Color;\n"
    "uniform mat4 dr_ModelViewMatrix;\nuniform mat4 dr_ProjectionMatrix;\n"
    "out vec2 texCoord;\nout vec4 color;\n"
    "void main() {\n"
    "    texCoord = dr_MultiTexCoord0.st;\n    color = dr_Color;\n"
    "    gl_Position = dr_ProjectionMatrix * (dr_ModelViewMatrix * dr_Vertex);\n}\n";
static const char* const FIXED_FRAGMENT =
    "#version 300 es\nprecision highp float;\n"
    "uniform sampler2D dr_Texture0;\nuniform bool dr_Texturing;\n"
    "in vec2 texCoord;\nin vec4 color;\nout vec4 fragColor;\n"
    "void main() {\n"
    "    fragColor = dr_Texturing ? color * texture(dr_Texture0, texCoord) : color;\n}\n";
// Depth only: positions in, no fragment work.
static const char* const DEPTH_VERTEX =
    "#version 300 es\n"
    "in vec4 dr_Vertex;\n"
    "uniform mat4 dr_ModelViewMatrix;\nuniform mat4 dr_ProjectionMatrix;\n"
    "void main() {\n"
    "    gl_Position = dr_ProjectionMatrix * (dr_ModelViewMatrix * dr_Vertex);\n}\n";
static const char* const DEPTH_FRAGMENT = "#version 300 es\nvoid main() {}\n";

// ---- helpers ----
static LayerProgram* findProgram(GLuint id);
static int locate(GLuint program, const char* format, int index);
static void reportLog(GLuint object, bool shader);
static GLuint linkFixedProgram(const char* vertex, const char* fragment);
static void send(LayerProgram& p, int slot, const float* value);
static void stateValue(int slot, const float modelview[16], float out[16]);

static LayerProgram* findProgram(GLuint id) {
    if (id == foundId && found != nullptr)
        return found;
    for (int i = 0; i < programCount; i++)
        if (programs[i].id == id) {
            foundId = id;
            found = &programs[i];
            return found;
        }
    return nullptr;
}

static int locate(GLuint program, const char* format, int index) {
    char name[64];
    snprintf(name, sizeof name, format, index);
    return emscripten_glGetUniformLocation(program, name);
}

static void reportLog(GLuint object, bool shader) {
    char log[4096] = {0};
    if (shader)
        emscripten_glGetShaderInfoLog(object, sizeof log, nullptr, log);
    else
        emscripten_glGetProgramInfoLog(object, sizeof log, nullptr, log);
    fprintf(stderr, "WebGL layer: %s log: %s\n", shader ? "compile" : "link", log);
}

GLuint compileLayerShader(GLenum type, const char* text) {
    GLuint shader = emscripten_glCreateShader(type);
    emscripten_glShaderSource(shader, 1, &text, nullptr);
    emscripten_glCompileShader(shader);
    return shader;
}

static GLuint linkFixedProgram(const char* vertex, const char* fragment) {
    GLuint program = emscripten_glCreateProgram();
    emscripten_glAttachShader(program, compileLayerShader(GL_VERTEX_SHADER, vertex));
    emscripten_glAttachShader(program, compileLayerShader(GL_FRAGMENT_SHADER, fragment));
    linkLayerProgram(program);
    return program;
}

void linkLayerProgram(GLuint p) {
    emscripten_glBindAttribLocation(p, ATTRIB_VERTEX, "dr_Vertex");
    emscripten_glBindAttribLocation(p, ATTRIB_NORMAL, "dr_Normal");
    emscripten_glBindAttribLocation(p, ATTRIB_TEXCOORD, "dr_MultiTexCoord0");
    emscripten_glBindAttribLocation(p, ATTRIB_COLOR, "dr_Color");
    emscripten_glLinkProgram(p);
    GLint status = 0;
    emscripten_glGetProgramiv(p, GL_LINK_STATUS, &status);
    if (!status)
        reportLog(p, false);
    LayerProgram* entry = findProgram(p);
    if (entry == nullptr) {
        if (programCount == LAYER_PROGRAMS) {
            layerUnsupported("more linked programs than the layer keeps uniforms for (16)");
            return;
        }
        entry = &programs[programCount++];
    }
    memset(entry, 0, sizeof *entry);
    entry->id = p;
    const char* const attributes[3] = {"dr_Normal", "dr_MultiTexCoord0", "dr_Color"};
    for (int a = 0; a < 3; a++)
        if (emscripten_glGetAttribLocation(p, attributes[a]) >= 0)
            entry->format |= 1 << a;
    for (int s = 0; s < SLOT_COUNT; s++)
        entry->location[s] = locate(p, SLOTS[s].name, SLOTS[s].index);
}

void forgetLayerPrograms() {
    programCount = 0;
    fixedProgram = depthProgram = activeProgram = 0;
    foundId = 0;
    found = nullptr;
    forgetWaitTarget();
}

void forgetUniformValues() {
    for (int i = 0; i < programCount; i++)
        memset(programs[i].sent, 0, sizeof programs[i].sent);
}

GLuint useLayerProgram(GLuint p) {
    if (fixedProgram == 0) {
        fixedProgram = linkFixedProgram(FIXED_VERTEX, FIXED_FRAGMENT);
        depthProgram = linkFixedProgram(DEPTH_VERTEX, DEPTH_FRAGMENT);
    }
    GLuint webglProgram = p != 0 ? p : layer.colorWrites ? fixedProgram : depthProgram;
    if (webglProgram != activeProgram) {
        emscripten_glUseProgram(webglProgram);
        activeProgram = webglProgram;
    }
    return webglProgram;
}

GLuint layerActiveProgram() {
    return activeProgram;
}

int programFormat(GLuint webglProgram) {
    const LayerProgram* p = findProgram(webglProgram);
    return p ? p->format : 0;
}

bool programReads(GLuint webglProgram, StateGroup group, int index) {
    const LayerProgram* p = findProgram(webglProgram);
    if (p == nullptr)
        return false;
    for (int s = 0; s < SLOT_COUNT; s++)
        if (SLOTS[s].group == group && SLOTS[s].index == index && p->location[s] >= 0)
            return true;
    // The products mix the material into each light's uniforms.
    if (group == READS_MATERIAL)
        for (int s = FIRST_LIGHT_SLOT + 4; s < FIRST_MODEL_SLOT; s++)
            if ((s - FIRST_LIGHT_SLOT) % LIGHT_SLOT_COUNT >= 4 && p->location[s] >= 0)
                return true;
    return false;
}

// The value the state gives the slot now.
static void stateValue(int slot, const float modelview[16], float out[16]) {
    const UniformSlot& u = SLOTS[slot];
    const MaterialState& m = layer.material;
    switch (slot) {
    case 0:
        memcpy(out, modelview, 16 * sizeof(float));
        return;
    case 1:
        layerNormalMatrix(modelview, out);
        return;
    case 2:
        memcpy(out, layer.projection.matrices[layer.projection.top], 16 * sizeof(float));
        return;
    case 3:
        out[0] = layer.texture2d[0] ? 1.0f : 0.0f;
        return;
    }
    if (u.group == READS_TEXTURE_MATRIX) {
        const MatrixStack& t = layer.texture[u.index];
        memcpy(out, t.matrices[t.top], 16 * sizeof(float));
        return;
    }
    if (u.group == READS_LIGHT) {
        const LightState& l = layer.lights[u.index];
        const float* const light[4] = {l.ambient, l.diffuse, l.specular, l.position};
        const float* const material[3] = {m.ambient, m.diffuse, m.specular};
        int field = (slot - FIRST_LIGHT_SLOT) % LIGHT_SLOT_COUNT;
        for (int c = 0; c < 4; c++)
            out[c] = field < 4 ? light[field][c] : material[field - 4][c] * light[field - 4][c];
        return;
    }
    const float* const fields[5] = {layer.lightModelAmbient, m.ambient, m.diffuse, m.specular,
                                    &m.shininess};
    memcpy(out, fields[slot - FIRST_MODEL_SLOT], (slot == SLOT_COUNT - 1 ? 1 : 4) * sizeof(float));
}

static void send(LayerProgram& p, int slot, const float* value) {
    const int sizes[5] = {16, 9, 1, 1, 4};
    size_t bytes = sizes[SLOTS[slot].kind] * sizeof(float);
    if (p.sent[slot] && memcmp(p.value[slot], value, bytes) == 0)
        return;
    memcpy(p.value[slot], value, bytes);
    p.sent[slot] = true;
    int location = p.location[slot];
    switch (SLOTS[slot].kind) {
    case MAT4:
        emscripten_glUniformMatrix4fv(location, 1, GL_FALSE, value);
        return;
    case MAT3:
        emscripten_glUniformMatrix3fv(location, 1, GL_FALSE, value);
        return;
    case INT1:
        emscripten_glUniform1i(location, (GLint)value[0]);
        return;
    case FLOAT1:
        emscripten_glUniform1f(location, value[0]);
        return;
    case VEC4:
        emscripten_glUniform4fv(location, 1, value);
        return;
    }
}

void loadStateUniforms(GLuint webglProgram, const float modelview[16]) {
    LayerProgram* p = findProgram(webglProgram);
    if (p == nullptr)
        return;
    for (int s = 0; s < SLOT_COUNT; s++) {
        if (p->location[s] < 0)
            continue;
        float value[16];
        stateValue(s, modelview, value);
        send(*p, s, value);
    }
    if (webglProgram == fixedProgram && layer.lighting && layer.colorWrites)
        layerUnsupported("fixed-function lighting without a program");
}

// ---- the entry points the demo looks up ----
static void useProgramObject(GLhandleARB p) {
    if (p == layer.program)
        return;
    flushBatch();
    layer.program = p;
    useLayerProgram(p);
}

static GLhandleARB createProgramObject() {
    return emscripten_glCreateProgram();
}

static GLhandleARB createShaderObject(GLenum type) {
    return emscripten_glCreateShader(type);
}

static void shaderSource(GLhandleARB shader, GLsizei count, const GLcharARB** text,
                         const GLint* lengths) {
    std::string source;
    for (GLsizei i = 0; i < count; i++)
        source +=
            lengths && lengths[i] >= 0 ? std::string(text[i], lengths[i]) : std::string(text[i]);
    GLint type = 0;
    emscripten_glGetShaderiv(shader, GL_SHADER_TYPE, &type);
    std::string translated = translateShader(source, type == GL_VERTEX_SHADER);
    const char* translatedText = translated.c_str();
    emscripten_glShaderSource(shader, 1, &translatedText, nullptr);
}

static void compileShader(GLhandleARB shader) {
    emscripten_glCompileShader(shader);
    GLint status = 0;
    emscripten_glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    if (!status)
        reportLog(shader, true);
}

static void getObjectParameteriv(GLhandleARB object, GLenum name, GLint* out) {
    if (emscripten_glIsShader(object))
        emscripten_glGetShaderiv(object, name, out);
    else
        emscripten_glGetProgramiv(object, name, out);
}

static void getInfoLog(GLhandleARB object, GLsizei size, GLsizei* length, GLcharARB* log) {
    if (emscripten_glIsShader(object))
        emscripten_glGetShaderInfoLog(object, size, length, log);
    else
        emscripten_glGetProgramInfoLog(object, size, length, log);
}

static void attachObject(GLhandleARB program, GLhandleARB shader) {
    emscripten_glAttachShader(program, shader);
}

static void linkProgram(GLhandleARB program) {
    linkLayerProgram(program);
}

static GLint getUniformLocation(GLhandleARB program, const GLcharARB* name) {
    return emscripten_glGetUniformLocation(program, name);
}

// Applies to the program in use, which the layer keeps current in WebGL too.
static void uniform1i(GLint location, GLint value) {
    flushBatch();
    emscripten_glUniform1i(location, value);
}

static void activeTexture(GLenum unit) {
    glActiveTexture(unit);
}

static void genFramebuffers(GLsizei count, GLuint* names) {
    emscripten_glGenFramebuffers(count, names);
}

static void bindFramebuffer(GLenum, GLuint framebuffer) {
    flushBatch();
    layer.framebuffer = framebuffer;
    layer.unflushedIndexes = 0;
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
}

static void framebufferTexture2D(GLenum, GLenum attachment, GLenum target, GLuint texture,
                                 GLint level) {
    GLuint webglTexture = texture < (GLuint)LAYER_TEXTURE_NAMES ? layer.webglTexture[texture] : 0;
    if (attachment == GL_DEPTH_ATTACHMENT) {
        layer.depthTarget = layer.framebuffer;
        layer.depthTexture = webglTexture;
    }
    emscripten_glFramebufferTexture2D(GL_FRAMEBUFFER, attachment, target, webglTexture, level);
}

static GLenum checkFramebufferStatus(GLenum) {
    return emscripten_glCheckFramebufferStatus(GL_FRAMEBUFFER);
}

struct NamedEntryPoint {
    const char* name;
    EntryPoint address;
};

static const NamedEntryPoint ENTRY_POINTS[] = {
    {"glActiveTextureARB", (EntryPoint)activeTexture},
    {"glGenFramebuffersEXT", (EntryPoint)genFramebuffers},
    {"glBindFramebufferEXT", (EntryPoint)bindFramebuffer},
    {"glFramebufferTexture2DEXT", (EntryPoint)framebufferTexture2D},
    {"glCheckFramebufferStatusEXT", (EntryPoint)checkFramebufferStatus},
    {"glCreateProgramObjectARB", (EntryPoint)createProgramObject},
    {"glUseProgramObjectARB", (EntryPoint)useProgramObject},
    {"glCreateShaderObjectARB", (EntryPoint)createShaderObject},
    {"glShaderSourceARB", (EntryPoint)shaderSource},
    {"glCompileShaderARB", (EntryPoint)compileShader},
    {"glGetObjectParameterivARB", (EntryPoint)getObjectParameteriv},
    {"glAttachObjectARB", (EntryPoint)attachObject},
    {"glGetInfoLogARB", (EntryPoint)getInfoLog},
    {"glLinkProgramARB", (EntryPoint)linkProgram},
    {"glGetUniformLocationARB", (EntryPoint)getUniformLocation},
    {"glUniform1iARB", (EntryPoint)uniform1i},
    {"glGetStringi", (EntryPoint)glGetStringi},
};

EntryPoint lookupEntryPoint(const char* name) {
    for (const NamedEntryPoint& e : ENTRY_POINTS)
        if (strcmp(e.name, name) == 0)
            return e.address;
    return nullptr;
}

// GL 2.0's names for the same calls (render/shaderProgram.cpp's): translated, linked and tracked
// as the ARB ones are.
extern "C" {

GLuint glCreateProgram() {
    return createProgramObject();
}

GLuint glCreateShader(GLenum type) {
    return createShaderObject(type);
}

void glShaderSource(GLuint shader, GLsizei count, const GLchar* const* text, const GLint* lengths) {
    shaderSource(shader, count, (const GLcharARB**)text, lengths);
}

void glCompileShader(GLuint shader) {
    compileShader(shader);
}

void glAttachShader(GLuint program, GLuint shader) {
    attachObject(program, shader);
}

void glLinkProgram(GLuint program) {
    linkProgram(program);
}

void glUseProgram(GLuint program) {
    useProgramObject(program);
}

void glGetShaderiv(GLuint shader, GLenum name, GLint* out) {
    emscripten_glGetShaderiv(shader, name, out);
}

void glGetProgramiv(GLuint program, GLenum name, GLint* out) {
    emscripten_glGetProgramiv(program, name, out);
}

void glGetShaderInfoLog(GLuint shader, GLsizei size, GLsizei* length, GLchar* log) {
    emscripten_glGetShaderInfoLog(shader, size, length, log);
}

void glGetProgramInfoLog(GLuint program, GLsizei size, GLsizei* length, GLchar* log) {
    emscripten_glGetProgramInfoLog(program, size, length, log);
}

GLint glGetUniformLocation(GLuint program, const GLchar* name) {
    return emscripten_glGetUniformLocation(program, name);
}

GLint glGetAttribLocation(GLuint program, const GLchar* name) {
    return emscripten_glGetAttribLocation(program, name);
}

// GL keeps a program in use until another replaces it; the layer's record of it stays too.
void glDeleteProgram(GLuint program) {
    emscripten_glDeleteProgram(program);
}

void glDeleteShader(GLuint shader) {
    emscripten_glDeleteShader(shader);
}

} // extern "C"
