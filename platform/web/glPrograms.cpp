// The sixteen ARB/EXT entry points the demo looks up by name, its shaders translated on the way
// in, the layer's own fixed-function program, and the uniforms that carry GL's state to both.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/platform.h"
#include "platform/web/glLayer.h"
#include "platform/web/shaderTranslation.h"
#include "platform/web/webgl.h"

// Cached uniform locations of one WebGL program; -1 where the program does not use one.
struct ProgramUniforms {
    bool linked;
    int modelView, projection, normalMatrix, texturing;
    int textureMatrix[LAYER_TEXTURE_UNITS];
    int lightAmbient[LAYER_LIGHTS], lightDiffuse[LAYER_LIGHTS], lightSpecular[LAYER_LIGHTS];
    int lightPosition[LAYER_LIGHTS];
    int productAmbient[LAYER_LIGHTS], productDiffuse[LAYER_LIGHTS], productSpecular[LAYER_LIGHTS];
    int modelAmbient, materialAmbient, materialDiffuse, materialSpecular, shininess;
};

static ProgramUniforms uniforms[LAYER_PROGRAMS];
static GLuint fixedProgram;  // WebGL program standing for program 0
static GLuint depthProgram;  // the same while colour writes are masked: no fragment work
static GLuint activeProgram; // WebGL program in use

// Fixed function as the demo uses it with no program: unlit, the colour modulated by the
// unit-0 texture when GL_TEXTURE_2D is on there.
static const char* const FIXED_VERTEX =
    "#version 300 es\n"
    "in vec4 dr_Vertex;\nin vec4 dr_MultiTexCoord0;\nin vec4 dr_Color;\n"
    "uniform mat4 dr_ProjectionMatrix;\nout vec2 texCoord;\nout vec4 color;\n"
    "void main() {\n"
    "    texCoord = dr_MultiTexCoord0.st;\n    color = dr_Color;\n"
    "    gl_Position = dr_ProjectionMatrix * dr_Vertex;\n}\n";
static const char* const FIXED_FRAGMENT =
    "#version 300 es\nprecision highp float;\n"
    "uniform sampler2D dr_Texture0;\nuniform bool dr_Texturing;\n"
    "in vec2 texCoord;\nin vec4 color;\nout vec4 fragColor;\n"
    "void main() {\n"
    "    fragColor = dr_Texturing ? color * texture(dr_Texture0, texCoord) : color;\n}\n";
static const char* const DEPTH_FRAGMENT = "#version 300 es\nvoid main() {}\n";

// ---- helpers ----
static int locate(GLuint program, const char* format, int index);
static void uniform4(int location, const float* value);
static void reportLog(GLuint object, bool shader);
static GLuint compileFixedShader(GLenum type, const char* text);
static GLuint linkFixedProgram(const char* fragment);

static int locate(GLuint program, const char* format, int index) {
    char name[64];
    snprintf(name, sizeof name, format, index);
    return emscripten_glGetUniformLocation(program, name);
}

static void uniform4(int location, const float* value) {
    if (location >= 0)
        emscripten_glUniform4fv(location, 1, value);
}

static void reportLog(GLuint object, bool shader) {
    char log[4096] = {0};
    if (shader)
        emscripten_glGetShaderInfoLog(object, sizeof log, nullptr, log);
    else
        emscripten_glGetProgramInfoLog(object, sizeof log, nullptr, log);
    fprintf(stderr, "WebGL layer: %s log: %s\n", shader ? "compile" : "link", log);
}

static GLuint compileFixedShader(GLenum type, const char* text) {
    GLuint shader = emscripten_glCreateShader(type);
    emscripten_glShaderSource(shader, 1, &text, nullptr);
    emscripten_glCompileShader(shader);
    return shader;
}

static GLuint linkFixedProgram(const char* fragment) {
    GLuint program = emscripten_glCreateProgram();
    emscripten_glAttachShader(program, compileFixedShader(GL_VERTEX_SHADER, FIXED_VERTEX));
    emscripten_glAttachShader(program, compileFixedShader(GL_FRAGMENT_SHADER, fragment));
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
    if (p >= (GLuint)LAYER_PROGRAMS) {
        layerUnsupported("more programs than the layer's table holds");
        return;
    }
    ProgramUniforms& u = uniforms[p];
    u.linked = true;
    u.modelView = locate(p, "dr_ModelViewMatrix", 0);
    u.projection = locate(p, "dr_ProjectionMatrix", 0);
    u.normalMatrix = locate(p, "dr_NormalMatrix", 0);
    u.texturing = locate(p, "dr_Texturing", 0);
    for (int i = 0; i < LAYER_TEXTURE_UNITS; i++)
        u.textureMatrix[i] = locate(p, "dr_TextureMatrix[%d]", i);
    for (int i = 0; i < LAYER_LIGHTS; i++) {
        u.lightAmbient[i] = locate(p, "dr_LightSource[%d].ambient", i);
        u.lightDiffuse[i] = locate(p, "dr_LightSource[%d].diffuse", i);
        u.lightSpecular[i] = locate(p, "dr_LightSource[%d].specular", i);
        u.lightPosition[i] = locate(p, "dr_LightSource[%d].position", i);
        u.productAmbient[i] = locate(p, "dr_FrontLightProduct[%d].ambient", i);
        u.productDiffuse[i] = locate(p, "dr_FrontLightProduct[%d].diffuse", i);
        u.productSpecular[i] = locate(p, "dr_FrontLightProduct[%d].specular", i);
    }
    u.modelAmbient = locate(p, "dr_LightModel.ambient", 0);
    u.materialAmbient = locate(p, "dr_FrontMaterial.ambient", 0);
    u.materialDiffuse = locate(p, "dr_FrontMaterial.diffuse", 0);
    u.materialSpecular = locate(p, "dr_FrontMaterial.specular", 0);
    u.shininess = locate(p, "dr_FrontMaterial.shininess", 0);
}

GLuint useLayerProgram(GLuint p) {
    if (fixedProgram == 0) {
        fixedProgram = linkFixedProgram(FIXED_FRAGMENT);
        depthProgram = linkFixedProgram(DEPTH_FRAGMENT);
    }
    GLuint webglProgram = p != 0 ? p : layer.colorWrites ? fixedProgram : depthProgram;
    if (webglProgram != activeProgram) {
        emscripten_glUseProgram(webglProgram);
        activeProgram = webglProgram;
    }
    return webglProgram;
}

void loadStateUniforms(GLuint webglProgram) {
    if (webglProgram >= (GLuint)LAYER_PROGRAMS || !uniforms[webglProgram].linked)
        return;
    const ProgramUniforms& u = uniforms[webglProgram];
    // Vertices arrive in eye coordinates, so the modelview and normal matrices are identities.
    static const float IDENTITY4[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    static const float IDENTITY3[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    if (u.modelView >= 0)
        emscripten_glUniformMatrix4fv(u.modelView, 1, GL_FALSE, IDENTITY4);
    if (u.normalMatrix >= 0)
        emscripten_glUniformMatrix3fv(u.normalMatrix, 1, GL_FALSE, IDENTITY3);
    if (u.projection >= 0)
        emscripten_glUniformMatrix4fv(u.projection, 1, GL_FALSE,
                                      layer.projection.matrices[layer.projection.top]);
    if (u.texturing >= 0)
        emscripten_glUniform1i(u.texturing, layer.texture2d[0] ? 1 : 0);
    for (int i = 0; i < LAYER_TEXTURE_UNITS; i++)
        if (u.textureMatrix[i] >= 0)
            emscripten_glUniformMatrix4fv(u.textureMatrix[i], 1, GL_FALSE,
                                          layer.texture[i].matrices[layer.texture[i].top]);
    const MaterialState& m = layer.material;
    for (int i = 0; i < LAYER_LIGHTS; i++) {
        const LightState& l = layer.lights[i];
        uniform4(u.lightAmbient[i], l.ambient);
        uniform4(u.lightDiffuse[i], l.diffuse);
        uniform4(u.lightSpecular[i], l.specular);
        uniform4(u.lightPosition[i], l.position);
        float ambient[4], diffuse[4], specular[4];
        for (int c = 0; c < 4; c++) {
            ambient[c] = m.ambient[c] * l.ambient[c];
            diffuse[c] = m.diffuse[c] * l.diffuse[c];
            specular[c] = m.specular[c] * l.specular[c];
        }
        uniform4(u.productAmbient[i], ambient);
        uniform4(u.productDiffuse[i], diffuse);
        uniform4(u.productSpecular[i], specular);
    }
    uniform4(u.modelAmbient, layer.lightModelAmbient);
    uniform4(u.materialAmbient, m.ambient);
    uniform4(u.materialDiffuse, m.diffuse);
    uniform4(u.materialSpecular, m.specular);
    if (u.shininess >= 0)
        emscripten_glUniform1f(u.shininess, m.shininess);
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
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
}

static void framebufferTexture2D(GLenum, GLenum attachment, GLenum target, GLuint texture,
                                 GLint level) {
    GLuint webglTexture = texture < (GLuint)LAYER_TEXTURE_NAMES ? layer.webglTexture[texture] : 0;
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
