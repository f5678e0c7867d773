#include "tests/webLayer/webglStub.h"

#include <cstring>

#include "platform/web/webgl.h"

struct StubAttribute {
    bool enabled;
    GLuint buffer;
    int size, stride;
    size_t offset;
};

struct StubArray {
    GLuint elementBuffer;
    StubAttribute attributes[4];
};

struct StubProgram {
    std::string source; // every attached shader's text
    std::map<std::string, int> attributeLocations;
    std::vector<std::string> uniformNames; // location i is uniformNames[i]
    std::map<int, std::vector<float>> values;
};

std::vector<StubDraw> stubDraws;
std::vector<unsigned> stubReads;
std::vector<int> stubFlushes;
unsigned stubDepthTexture;
StubCounts stubCounts;

static GLuint nextId;
static std::map<GLuint, std::vector<unsigned char>> buffers;
static std::map<GLuint, StubArray> arrays;
static std::map<GLuint, std::string> shaders;
static std::map<GLuint, GLenum> shaderTypes;
static std::map<GLuint, StubProgram> programs;
static GLuint arrayBuffer, boundArray, currentProgram, framebuffer, activeUnit;
static GLuint unitTextures[8];

// ---- helpers ----
static GLuint newId();
static std::string baseName(const std::string& name);
static const float* uniformOf(const StubProgram& p, const char* name);
static void fetch(const StubArray& a, int attribute, unsigned vertex, float* out);
static void recordDraw(const std::vector<unsigned>& indexes, bool indexed);
static void generate(GLsizei n, GLuint* ids);
static void setUniform(GLint location, const GLfloat* value, int count);

static GLuint newId() {
    return ++nextId;
}

// "dr_LightSource[1].diffuse" is declared as dr_LightSource.
static std::string baseName(const std::string& name) {
    return name.substr(0, name.find_first_of("[."));
}

static const float* uniformOf(const StubProgram& p, const char* name) {
    for (size_t i = 0; i < p.uniformNames.size(); i++)
        if (p.uniformNames[i] == name) {
            auto v = p.values.find((int)i);
            return v == p.values.end() ? nullptr : v->second.data();
        }
    return nullptr;
}

static void fetch(const StubArray& a, int attribute, unsigned vertex, float* out) {
    const StubAttribute& at = a.attributes[attribute];
    if (!at.enabled)
        return;
    const std::vector<unsigned char>& bytes = buffers[at.buffer];
    size_t from = at.offset + (size_t)vertex * at.stride;
    if (from + at.size * sizeof(float) <= bytes.size())
        memcpy(out, &bytes[from], at.size * sizeof(float));
}

// What the GPU would draw: each corner's attributes from the arrays, the position and normal
// under the matrices the program was given (unset uniforms are zero, as in WebGL).
static void recordDraw(const std::vector<unsigned>& indexes, bool indexed) {
    StubProgram& p = programs[currentProgram];
    const StubArray& a = arrays[boundArray];
    StubDraw draw{currentProgram, framebuffer, {}, indexed, 0, a.attributes[0].stride, {}, {}};
    memcpy(draw.textures, unitTextures, sizeof unitTextures);
    for (int i = 0; i < 4; i++)
        draw.attributes |= a.attributes[i].enabled ? 1 << i : 0;
    for (size_t i = 0; i < p.uniformNames.size(); i++)
        if (p.values.count((int)i))
            draw.uniforms[p.uniformNames[i]] = p.values[(int)i];
    const float zero[16] = {0};
    const float* mv = uniformOf(p, "dr_ModelViewMatrix");
    const float* nm = uniformOf(p, "dr_NormalMatrix");
    mv = mv ? mv : zero;
    nm = nm ? nm : zero;
    for (unsigned index : indexes) {
        StubCorner c{};
        float position[3] = {0, 0, 0}, normal[3] = {0, 0, 0};
        fetch(a, 0, index, position);
        fetch(a, 1, index, normal);
        fetch(a, 2, index, c.texCoord);
        fetch(a, 3, index, c.color);
        for (int r = 0; r < 4; r++)
            c.eye[r] = mv[r] * position[0] + mv[4 + r] * position[1] + mv[8 + r] * position[2] +
                       mv[12 + r];
        for (int r = 0; r < 3; r++)
            c.normal[r] = nm[r] * normal[0] + nm[3 + r] * normal[1] + nm[6 + r] * normal[2];
        draw.corners.push_back(c);
    }
    stubDraws.push_back(draw);
}

static void generate(GLsizei n, GLuint* ids) {
    for (GLsizei i = 0; i < n; i++)
        ids[i] = newId();
}

static void setUniform(GLint location, const GLfloat* value, int count) {
    stubCounts.uniformCalls++;
    if (location >= 0)
        programs[currentProgram].values[location].assign(value, value + count);
}

void resetStub() {
    nextId = 0;
    buffers.clear();
    arrays.clear();
    shaders.clear();
    shaderTypes.clear();
    programs.clear();
    arrayBuffer = boundArray = currentProgram = framebuffer = activeUnit = 0;
    memset(unitTextures, 0, sizeof unitTextures);
    stubDraws.clear();
    stubReads.clear();
    stubFlushes.clear();
    stubDepthTexture = 0;
    stubCounts = StubCounts{};
}

extern "C" {

void emscripten_glActiveTexture(GLenum unit) {
    activeUnit = (unit - GL_TEXTURE0) & 7;
}
void emscripten_glAttachShader(GLuint program, GLuint shader) {
    programs[program].source += shaders[shader];
}
void emscripten_glBindAttribLocation(GLuint program, GLuint index, const GLchar* name) {
    programs[program].attributeLocations[name] = (int)index;
}
void emscripten_glBindBuffer(GLenum target, GLuint buffer) {
    if (target == GL_ARRAY_BUFFER)
        arrayBuffer = buffer;
    else
        arrays[boundArray].elementBuffer = buffer;
}
void emscripten_glBindFramebuffer(GLenum, GLuint bound) {
    framebuffer = bound;
}
void emscripten_glBindTexture(GLenum, GLuint texture) {
    unitTextures[activeUnit] = texture;
}
void emscripten_glBindVertexArray(GLuint array) {
    boundArray = array;
}
void emscripten_glBlendFunc(GLenum, GLenum) {}
void emscripten_glBufferData(GLenum target, GLsizeiptr size, const void* data, GLenum) {
    GLuint buffer = target == GL_ARRAY_BUFFER ? arrayBuffer : arrays[boundArray].elementBuffer;
    const unsigned char* bytes = (const unsigned char*)data;
    buffers[buffer].assign(bytes, bytes + size);
    stubCounts.bufferBytes += size;
}
void emscripten_glBufferSubData(GLenum, GLintptr, GLsizeiptr, const void*) {}
GLenum emscripten_glCheckFramebufferStatus(GLenum) {
    return GL_FRAMEBUFFER_COMPLETE;
}
void emscripten_glClear(GLbitfield) {}
void emscripten_glClearColor(GLfloat, GLfloat, GLfloat, GLfloat) {}
void emscripten_glColorMask(GLboolean, GLboolean, GLboolean, GLboolean) {}
void emscripten_glCompileShader(GLuint) {}
GLuint emscripten_glCreateProgram() {
    GLuint id = newId();
    programs[id];
    return id;
}
GLuint emscripten_glCreateShader(GLenum type) {
    GLuint id = newId();
    shaders[id];
    shaderTypes[id] = type;
    return id;
}
void emscripten_glCullFace(GLenum) {}
void emscripten_glDeleteBuffers(GLsizei n, const GLuint* ids) {
    for (GLsizei i = 0; i < n; i++)
        buffers.erase(ids[i]);
}
void emscripten_glDeleteVertexArrays(GLsizei n, const GLuint* ids) {
    for (GLsizei i = 0; i < n; i++)
        arrays.erase(ids[i]);
}
void emscripten_glDeleteProgram(GLuint) {}
void emscripten_glDeleteShader(GLuint) {}
void emscripten_glDepthMask(GLboolean) {}
void emscripten_glDisable(GLenum) {}
void emscripten_glDisableVertexAttribArray(GLuint index) {
    arrays[boundArray].attributes[index].enabled = false;
}
void emscripten_glDrawArrays(GLenum, GLint first, GLsizei count) {
    std::vector<unsigned> indexes;
    for (GLsizei i = 0; i < count; i++)
        indexes.push_back(first + i);
    recordDraw(indexes, false);
}
void emscripten_glDrawBuffers(GLsizei, const GLenum*) {}
void emscripten_glDrawElements(GLenum, GLsizei count, GLenum type, const void* offset) {
    const std::vector<unsigned char>& bytes = buffers[arrays[boundArray].elementBuffer];
    std::vector<unsigned> indexes;
    size_t size = type == GL_UNSIGNED_SHORT ? 2 : 4;
    for (GLsizei i = 0; i < count; i++) {
        size_t at = (size_t)offset + i * size;
        if (at + size > bytes.size())
            break; // past the index buffer: drawn as nothing, and the corner count shows it
        unsigned short s;
        unsigned u;
        memcpy(size == 2 ? (void*)&s : (void*)&u, &bytes[at], size);
        indexes.push_back(size == 2 ? s : u);
    }
    recordDraw(indexes, true);
}
void emscripten_glEnable(GLenum) {}
void emscripten_glEnableVertexAttribArray(GLuint index) {
    arrays[boundArray].attributes[index].enabled = true;
}
void emscripten_glFinish() {}
void emscripten_glFlush() {
    stubFlushes.push_back((int)stubDraws.size());
}
void emscripten_glFramebufferTexture2D(GLenum, GLenum attachment, GLenum, GLuint texture, GLint) {
    if (attachment == GL_DEPTH_ATTACHMENT)
        stubDepthTexture = texture;
}
void emscripten_glGenBuffers(GLsizei n, GLuint* ids) {
    generate(n, ids);
}
void emscripten_glGenFramebuffers(GLsizei n, GLuint* ids) {
    generate(n, ids);
}
void emscripten_glGenTextures(GLsizei n, GLuint* ids) {
    generate(n, ids);
}
void emscripten_glGenVertexArrays(GLsizei n, GLuint* ids) {
    generate(n, ids);
    for (GLsizei i = 0; i < n; i++)
        arrays[ids[i]];
}
void emscripten_glGenerateMipmap(GLenum) {}
GLint emscripten_glGetAttribLocation(GLuint program, const GLchar* name) {
    StubProgram& p = programs[program];
    if (p.source.find(name) == std::string::npos || !p.attributeLocations.count(name))
        return -1;
    return p.attributeLocations[name];
}
// WebGL 2's least largest texture and renderbuffer side.
void emscripten_glGetIntegerv(GLenum, GLint* value) {
    *value = 2048;
}
void emscripten_glGetProgramInfoLog(GLuint, GLsizei size, GLsizei*, GLchar* log) {
    if (size > 0)
        log[0] = '\0';
}
void emscripten_glGetProgramiv(GLuint, GLenum, GLint* value) {
    *value = 1;
}
void emscripten_glGetShaderInfoLog(GLuint, GLsizei size, GLsizei*, GLchar* log) {
    if (size > 0)
        log[0] = '\0';
}
void emscripten_glGetShaderiv(GLuint shader, GLenum name, GLint* value) {
    *value = name == GL_SHADER_TYPE ? (GLint)shaderTypes[shader] : 1;
}
GLint emscripten_glGetUniformLocation(GLuint program, const GLchar* name) {
    StubProgram& p = programs[program];
    if (p.source.find(baseName(name)) == std::string::npos)
        return -1;
    for (size_t i = 0; i < p.uniformNames.size(); i++)
        if (p.uniformNames[i] == name)
            return (GLint)i;
    p.uniformNames.push_back(name);
    return (GLint)p.uniformNames.size() - 1;
}
GLboolean emscripten_glIsShader(GLuint object) {
    return shaders.count(object) ? GL_TRUE : GL_FALSE;
}
void emscripten_glLinkProgram(GLuint) {}
void emscripten_glPixelStorei(GLenum, GLint) {}
void emscripten_glReadBuffer(GLenum) {}
void emscripten_glReadPixels(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*) {
    stubReads.push_back(framebuffer);
}
void emscripten_glShaderSource(GLuint shader, GLsizei count, const GLchar* const* text,
                               const GLint*) {
    for (GLsizei i = 0; i < count; i++)
        shaders[shader] += text[i];
}
void emscripten_glTexImage2D(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum,
                             const void*) {}
void emscripten_glTexParameteri(GLenum, GLenum, GLint) {}
void emscripten_glUniform1i(GLint location, GLint value) {
    float f = (float)value;
    setUniform(location, &f, 1);
}
void emscripten_glUniform1f(GLint location, GLfloat value) {
    setUniform(location, &value, 1);
}
void emscripten_glUniform4fv(GLint location, GLsizei, const GLfloat* value) {
    setUniform(location, value, 4);
}
void emscripten_glUniformMatrix3fv(GLint location, GLsizei, GLboolean, const GLfloat* value) {
    setUniform(location, value, 9);
}
void emscripten_glUniformMatrix4fv(GLint location, GLsizei, GLboolean, const GLfloat* value) {
    setUniform(location, value, 16);
}
void emscripten_glUseProgram(GLuint program) {
    currentProgram = program;
}
void emscripten_glVertexAttribPointer(GLuint index, GLint size, GLenum, GLboolean, GLsizei stride,
                                      const void* pointer) {
    StubAttribute& a = arrays[boundArray].attributes[index];
    a.buffer = arrayBuffer;
    a.size = size;
    a.stride = stride;
    a.offset = (size_t)pointer;
}
void emscripten_glViewport(GLint, GLint, GLsizei, GLsizei) {}

} // extern "C"
