#include <GL/glew.h>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

#include "platform/web/shaderTranslation.h"
#include "render/extensionEntryPoints.h"
#include "render/shaderLoading.h"
#include "tests/glFixture.h"

namespace {

class ShaderLoading : public GlTest {
  protected:
    void SetUp() override { bindExtensionEntryPoints(); }
    void TearDown() override {
        if (!tempFile.empty())
            remove(tempFile.c_str());
    }
    // A file in the temp directory holding text; its path.
    const char* writeTempFile(const std::string& text) {
        tempFile = "/tmp/dustriders-shader-" + std::to_string(getpid()) + ".c";
        FILE* f = fopen(tempFile.c_str(), "wb");
        fwrite(text.data(), 1, text.size(), f);
        fclose(f);
        return tempFile.c_str();
    }
    std::string tempFile;
};

const char* VALID_VERTEX_SHADER = "#version 120\nvoid main() { gl_Position = ftransform(); }\n";

// The messages go to standard output; death tests match standard error.
#define EXPECT_EXIT_WITH_STDOUT(statement, code, pattern)                                          \
    EXPECT_EXIT(                                                                                   \
        {                                                                                          \
            dup2(2, 1);                                                                            \
            statement;                                                                             \
        },                                                                                         \
        ::testing::ExitedWithCode(code), pattern)

std::string readFile(const char* path) {
    std::string text;
    FILE* file = fopen(path, "rb");
    if (file == nullptr)
        return text;
    char chunk[4096];
    size_t count;
    while ((count = fread(chunk, 1, sizeof chunk, file)) > 0)
        text.append(chunk, count);
    fclose(file);
    return text;
}

int compileStatus(GLhandleARB shader) {
    int status = 0;
    glGetObjectParameterivARB(shader, GL_OBJECT_COMPILE_STATUS_ARB, &status);
    return status;
}

} // namespace

TEST_F(ShaderLoading, MissingShaderFileEndsWithNonZeroStatusAndNamesIt) {
    EXPECT_EXIT_WITH_STDOUT(loadShaderFromFile("NoSuchShader.c", GL_VERTEX_SHADER_ARB), 1,
                            "Sorry, can't open file: 'NoSuchShader.c'\\.");
}

TEST_F(ShaderLoading, ShaderObjectThatCannotBeCreatedEndsWithNonZeroStatus) {
    const char* path = writeTempFile(VALID_VERTEX_SHADER);
    // Not a shader type: GL creates no object and returns 0.
    EXPECT_EXIT_WITH_STDOUT(loadShaderFromFile(path, GL_TEXTURE_2D), 1,
                            "Failed creating vertex shader object from file: .*dustriders-shader");
}

TEST_F(ShaderLoading, FileOf400000BytesIsRefusedAndOneByteLessIsCompiledWhole) {
    std::string source = VALID_VERTEX_SHADER;
    source += "//";
    source.append(SHADER_SOURCE_CAPACITY - 1 - source.size(), 'x');
    ASSERT_EQ(source.size(), 399999u);
    GLhandleARB shader = loadShaderFromFile(writeTempFile(source), GL_VERTEX_SHADER_ARB);
    EXPECT_NE(shader, 0u);
    EXPECT_EQ(compileStatus(shader), 1);

    source += "x";
    const char* path = writeTempFile(source);
    EXPECT_EXIT_WITH_STDOUT(loadShaderFromFile(path, GL_VERTEX_SHADER_ARB), 1, "too large");
}

TEST_F(ShaderLoading, FailedCompilePrintsItsLogBoundedAndReturnsTheShader) {
    // Hundreds of errors make a log far longer than the 3000-byte buffer.
    std::string source = "#version 120\nvoid main() {\n";
    for (int i = 0; i < 400; i++)
        source += "  undeclared" + std::to_string(i) + " = 1;\n";
    source += "}\n";
    const char* path = writeTempFile(source);
    testing::internal::CaptureStdout();
    GLhandleARB shader = loadShaderFromFile(path, GL_FRAGMENT_SHADER_ARB);
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(shader, 0u);
    EXPECT_EQ(compileStatus(shader), 0);
    std::string header = std::string("Shader '") + path + "' failed compilation.\n";
    ASSERT_EQ(printed.compare(0, header.size(), header), 0) << printed.substr(0, 200);
    EXPECT_LT(printed.size() - header.size(), (size_t)SHADER_LOG_CAPACITY + 1);
    EXPECT_NE(printed.find("undeclared0"), std::string::npos) << "log text missing";
    int fullLength = 0;
    glGetObjectParameterivARB(shader, GL_OBJECT_INFO_LOG_LENGTH_ARB, &fullLength);
    EXPECT_GT(fullLength, SHADER_LOG_CAPACITY) << "log too short to test the bound";
}

TEST_F(ShaderLoading, ShadowProgramLinksAndExposesShadowMap) {
    // The run directory's own shader files.
    testing::internal::CaptureStdout();
    buildShadowProgram();
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed, "") << "shader files do not compile cleanly";
    int linked = 0;
    glGetObjectParameterivARB(shadowProgram, GL_OBJECT_LINK_STATUS_ARB, &linked);
    EXPECT_EQ(linked, 1);
    EXPECT_NE(shadowMapUniform, -1);
}

// The browser build hands WebGL 2 the run directory's shader files as GLSL ES 3.00, with GL's
// state as uniforms under the names its layer sets; with the shadow lookup compiled out too.
TEST_F(ShaderLoading, ShaderFilesTranslatedForTheBrowserLinkWithTheirStateUniforms) {
    struct Row {
        const char* define;
        const char* uniforms[8];
    } rows[] = {
        {"",
         {"dr_ModelViewMatrix", "dr_ProjectionMatrix", "dr_NormalMatrix", "dr_TextureMatrix[7]",
          "dr_LightSource[1].position", "dr_FrontMaterial.shininess",
          "dr_FrontLightProduct[1].diffuse", "ShadowMap"}},
        {"#define SHADOWS_OFF 1\n",
         {"dr_ModelViewMatrix", "dr_LightModel.ambient", "dr_FrontMaterial.ambient",
          "dr_FrontLightProduct[1].ambient", "dr_FrontLightProduct[1].specular",
          "dr_LightSource[1].position", "dr_ProjectionMatrix", "ObjectTexture"}},
    };
    std::string vertex = translateShader(readFile("VertexShader.c"), true);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.define);
        std::string fragment = readFile("FragmentShader.c");
        fragment.insert(fragment.find('\n', fragment.find("#version")) + 1, row.define);
        fragment = translateShader(fragment, false);
        EXPECT_EQ(fragment.rfind("#version 300 es\n", 0), 0u);
        EXPECT_EQ(fragment.find("gl_FragColor"), std::string::npos);
        EXPECT_EQ(fragment.find("texture2D"), std::string::npos);
        GLhandleARB program = glCreateProgramObjectARB();
        const char* texts[2] = {vertex.c_str(), fragment.c_str()};
        const GLenum types[2] = {GL_VERTEX_SHADER_ARB, GL_FRAGMENT_SHADER_ARB};
        for (int i = 0; i < 2; i++) {
            GLhandleARB shader = glCreateShaderObjectARB(types[i]);
            glShaderSourceARB(shader, 1, &texts[i], nullptr);
            glCompileShaderARB(shader);
            char log[2048] = "";
            glGetInfoLogARB(shader, sizeof log, nullptr, log);
            EXPECT_EQ(compileStatus(shader), 1) << log;
            glAttachObjectARB(program, shader);
        }
        glLinkProgramARB(program);
        int linked = 0;
        glGetObjectParameterivARB(program, GL_OBJECT_LINK_STATUS_ARB, &linked);
        EXPECT_EQ(linked, 1);
        for (const char* name : row.uniforms)
            EXPECT_NE(glGetUniformLocationARB(program, name), -1) << name;
        glDeleteObjectARB(program);
    }
}

TEST_F(ShaderLoading, EntryPointsAreBoundInTheirOwnTable) {
    const ExtensionEntryPoints& e = extensionEntryPoints;
    EXPECT_EQ((EntryPoint)e.activeTextureARB, lookupEntryPoint("glActiveTextureARB"));
    EXPECT_EQ((EntryPoint)e.checkFramebufferStatusEXT,
              lookupEntryPoint("glCheckFramebufferStatusEXT"));
    EXPECT_EQ((EntryPoint)e.uniform1iARB, lookupEntryPoint("glUniform1iARB"));
    const EntryPoint* slots = reinterpret_cast<const EntryPoint*>(&e);
    for (size_t i = 0; i < sizeof(e) / sizeof(EntryPoint); i++)
        EXPECT_NE(slots[i], nullptr) << "entry point " << i + 1 << " not bound";
}

TEST_F(ShaderLoading, MissingEntryPointEndsWithNonZeroStatusNamingIt) {
    EXPECT_EXIT_WITH_STDOUT(lookupRequiredEntryPoint("glFrobnicateEXT", "GL_EXT_frobnicate"), 1,
                            "glFrobnicateEXT");
    // Mesa hands out a stub for any name; the extension list decides.
    EXPECT_EXIT_WITH_STDOUT(lookupRequiredEntryPoint("glActiveTextureARB", "GL_ARB_not_offered"), 1,
                            "glActiveTextureARB");
}
