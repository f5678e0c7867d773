#include "render/unshadowedProgram.h"

#include <cstdio>
#include <string>

#include "render/extensionEntryPoints.h"
#include "render/shaderLoading.h"

// ---- helpers ----
static std::string readText(const char* path);
static std::string withDefine(const std::string& source, const char* define);

static std::string readText(const char* path) {
    std::string text;
    FILE* file = fopen(path, "rb");
    if (file == nullptr)
        return text;
    char chunk[4096];
    size_t count;
    while ((count = fread(chunk, 1, sizeof(chunk), file)) > 0)
        text.append(chunk, count);
    fclose(file);
    return text;
}

// The define must follow the #version line, which has to stay first.
static std::string withDefine(const std::string& source, const char* define) {
    size_t version = source.find("#version");
    size_t lineEnd = version == std::string::npos ? std::string::npos : source.find('\n', version);
    size_t at = lineEnd == std::string::npos ? 0 : lineEnd + 1;
    return source.substr(0, at) + "#define " + define + "\n" + source.substr(at);
}

GLhandleARB buildUnshadowedProgram() {
    const ExtensionEntryPoints& e = extensionEntryPoints;
    std::string vertexText = readText("VertexShader.c");
    std::string fragmentText = withDefine(readText("FragmentShader.c"), "SHADOWS_OFF 1");
    GLhandleARB program = e.createProgramObjectARB();
    e.attachObjectARB(
        program, compileShaderText("VertexShader.c", vertexText.c_str(), GL_VERTEX_SHADER_ARB));
    e.attachObjectARB(program, compileShaderText("FragmentShader.c", fragmentText.c_str(),
                                                 GL_FRAGMENT_SHADER_ARB));
    e.linkProgramARB(program);
    return program;
}
