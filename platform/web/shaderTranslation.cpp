#include "platform/web/shaderTranslation.h"

#include <cctype>
#include <cstring>

struct BuiltinRow {
    const char* name;         // without the gl_ prefix
    const char* vertexDecl;   // declaration in a vertex shader
    const char* fragmentDecl; // declaration in a fragment shader
};

// Uniforms keep one declaration for both stages: a uniform both stages use must match exactly.
static const char* const LIGHT_STRUCT =
    "struct dr_LightSourceParameters { vec4 ambient; vec4 diffuse; vec4 specular; vec4 position; };"
    "\nuniform dr_LightSourceParameters dr_LightSource[2];\n";
static const char* const MATERIAL_STRUCT =
    "struct dr_MaterialParameters { vec4 ambient; vec4 diffuse; vec4 specular; float shininess; };"
    "\nuniform dr_MaterialParameters dr_FrontMaterial;\n";
static const char* const MODEL_STRUCT = "struct dr_LightModelParameters { vec4 ambient; };\n"
                                        "uniform dr_LightModelParameters dr_LightModel;\n";
static const char* const PRODUCT_STRUCT =
    "struct dr_LightProducts { vec4 ambient; vec4 diffuse; vec4 specular; };\n"
    "uniform dr_LightProducts dr_FrontLightProduct[2];\n";

static const BuiltinRow BUILTINS[] = {
    {"ModelViewMatrix", "uniform mat4 dr_ModelViewMatrix;\n", "uniform mat4 dr_ModelViewMatrix;\n"},
    {"ProjectionMatrix", "uniform mat4 dr_ProjectionMatrix;\n",
     "uniform mat4 dr_ProjectionMatrix;\n"},
    {"NormalMatrix", "uniform mat3 dr_NormalMatrix;\n", "uniform mat3 dr_NormalMatrix;\n"},
    {"TextureMatrix", "uniform mat4 dr_TextureMatrix[8];\n", "uniform mat4 dr_TextureMatrix[8];\n"},
    {"LightSource", LIGHT_STRUCT, LIGHT_STRUCT},
    {"FrontMaterial", MATERIAL_STRUCT, MATERIAL_STRUCT},
    {"LightModel", MODEL_STRUCT, MODEL_STRUCT},
    {"FrontLightProduct", PRODUCT_STRUCT, PRODUCT_STRUCT},
    {"Vertex", "in vec4 dr_Vertex;\n", nullptr},
    {"Normal", "in vec3 dr_Normal;\n", nullptr},
    {"MultiTexCoord0", "in vec4 dr_MultiTexCoord0;\n", nullptr},
    {"TexCoord", "out vec4 dr_TexCoord[1];\n", "in vec4 dr_TexCoord[1];\n"},
    {"FragColor", nullptr, "out vec4 dr_FragColor;\n"},
};
static const int BUILTIN_COUNT = sizeof BUILTINS / sizeof BUILTINS[0];

// ---- helpers ----
static bool isIdentifierChar(char c);
static int findBuiltin(const std::string& word);
static std::string renameWords(const std::string& source, bool vertexStage, bool used[]);

static bool isIdentifierChar(char c) {
    return isalnum((unsigned char)c) || c == '_';
}

static int findBuiltin(const std::string& word) {
    for (int i = 0; i < BUILTIN_COUNT; i++)
        if (word == BUILTINS[i].name)
            return i;
    return -1;
}

// Walks the source word by word: gl_ built-ins of the table take the dr_ prefix, the 1.20
// keywords and functions that ES 3.00 renamed get their new names.
static std::string renameWords(const std::string& source, bool vertexStage, bool used[]) {
    std::string out;
    size_t i = 0;
    while (i < source.size()) {
        if (!isIdentifierChar(source[i]) || (i > 0 && isIdentifierChar(source[i - 1]))) {
            out += source[i++];
            continue;
        }
        size_t end = i;
        while (end < source.size() && isIdentifierChar(source[end]))
            end++;
        std::string word = source.substr(i, end - i);
        int builtin = word.compare(0, 3, "gl_") == 0 ? findBuiltin(word.substr(3)) : -1;
        if (builtin >= 0) {
            used[builtin] = true;
            out += "dr_" + word.substr(3);
        } else if (word == "varying")
            out += vertexStage ? "out" : "in";
        else if (word == "attribute")
            out += "in";
        else if (word == "texture2D")
            out += "texture";
        else
            out += word;
        i = end;
    }
    return out;
}

std::string translateShader(const std::string& source, bool vertexStage) {
    bool used[BUILTIN_COUNT] = {};
    std::string body = renameWords(source, vertexStage, used);
    // The version line goes; everything before it (comments) stays where it was, below ours.
    size_t version = body.find("#version");
    if (version != std::string::npos) {
        size_t lineEnd = body.find('\n', version);
        body.erase(version, lineEnd == std::string::npos ? std::string::npos : lineEnd - version);
    }
    std::string head = "#version 300 es\nprecision highp float;\nprecision highp int;\n";
    for (int i = 0; i < BUILTIN_COUNT; i++) {
        const char* decl = vertexStage ? BUILTINS[i].vertexDecl : BUILTINS[i].fragmentDecl;
        if (used[i] && decl && head.find(decl) == std::string::npos)
            head += decl;
    }
    // A #define that followed the version line must stay ahead of the code that tests it.
    return head + "#line 1\n" + body;
}
