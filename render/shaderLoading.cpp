#include "render/shaderLoading.h"

#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "render/extensionEntryPoints.h"

GLhandleARB shadowProgram; // 0 until buildShadowProgram
int shadowMapUniform = -1; // uniform location

// ---- helpers ----
static void printCompileLog(const char* path, GLhandleARB shader);

static void printCompileLog(const char* path, GLhandleARB shader) {
    const ExtensionEntryPoints& e = extensionEntryPoints;
    int errorLoglength = 0;
    char errorLogText[SHADER_LOG_CAPACITY] = {0};
    int actualErrorLogLength = 0;
    printf("Shader '%s' failed compilation.\n", path);
    e.getObjectParameterivARB(shader, GL_OBJECT_INFO_LOG_LENGTH_ARB, &errorLoglength);
    // GL may report a longer log than the buffer holds; it writes at most maxLength bytes.
    int maxLength = errorLoglength < SHADER_LOG_CAPACITY ? errorLoglength : SHADER_LOG_CAPACITY;
    if (maxLength < 1)
        maxLength = 1;
    e.getInfoLogARB(shader, maxLength, &actualErrorLogLength, errorLogText);
    errorLogText[SHADER_LOG_CAPACITY - 1] = '\0';
    printf("%s\n", errorLogText);
}

GLhandleARB loadShaderFromFile(const char* path, GLenum type) {
    // Static: 400 kB is too much for a stack frame the caller does not expect.
    static char buffer[SHADER_SOURCE_CAPACITY];
    memset(buffer, 0, sizeof(buffer));
    FILE* file = fopen(path, "rb");
    if (file == nullptr) {
        printf("Sorry, can't open file: '%s'.\n", path);
        fflush(stdout);
        endProgram(1);
        return 0;
    }
    size_t count = fread(buffer, 1, SHADER_SOURCE_CAPACITY, file);
    fclose(file);
    // A full buffer has no room left for the terminating zero.
    if (count >= (size_t)SHADER_SOURCE_CAPACITY) {
        printf("Shader file '%s' is too large: %d bytes or more (at most %d).\n", path,
               SHADER_SOURCE_CAPACITY, SHADER_SOURCE_CAPACITY - 1);
        fflush(stdout);
        endProgram(1);
        return 0;
    }
    return compileShaderText(path, buffer, type);
}

GLhandleARB compileShaderText(const char* path, const char* text, GLenum type) {
    const ExtensionEntryPoints& e = extensionEntryPoints;
    GLhandleARB shader = e.createShaderObjectARB(type);
    if (shader == 0) {
        printf("Failed creating vertex shader object from file: %s.", path);
        fflush(stdout);
        endProgram(1);
        return 0;
    }
    const char* files = text;
    e.shaderSourceARB(shader, 1, &files, nullptr);
    e.compileShaderARB(shader);
    int result = 0;
    e.getObjectParameterivARB(shader, GL_OBJECT_COMPILE_STATUS_ARB, &result);
    if (result == 0)
        printCompileLog(path, shader);
    return shader;
}

void buildShadowProgram() {
    const ExtensionEntryPoints& e = extensionEntryPoints;
    GLhandleARB vertexShader = loadShaderFromFile("VertexShader.c", GL_VERTEX_SHADER_ARB);
    GLhandleARB fragmentShader = loadShaderFromFile("FragmentShader.c", GL_FRAGMENT_SHADER_ARB);
    shadowProgram = e.createProgramObjectARB();
    e.attachObjectARB(shadowProgram, vertexShader);
    e.attachObjectARB(shadowProgram, fragmentShader);
    e.linkProgramARB(shadowProgram);
    shadowMapUniform = e.getUniformLocationARB(shadowProgram, "ShadowMap");
}
