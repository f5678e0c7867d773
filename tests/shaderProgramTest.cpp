#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <type_traits>

#include "render/shaderProgram.h"
#include "tests/glFixture.h"

namespace {

const char* VERTEX_SOURCE = "#version 120\n"
                            "attribute vec4 position;\n"
                            "uniform float scale;\n"
                            "void main() { gl_Position = position * scale; }\n";
const char* FRAGMENT_SOURCE = "#version 120\n"
                              "uniform vec4 tint;\n"
                              "void main() { gl_FragColor = tint; }\n";

std::string writeTempFile(const std::string& name, const std::string& contents) {
    std::string path = testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << contents;
    return path;
}

std::string sourceOf(GLuint shader) {
    GLint length = 0;
    glGetShaderiv(shader, GL_SHADER_SOURCE_LENGTH, &length);
    std::string source(length > 0 ? length : 1, '\0');
    glGetShaderSource(shader, (GLsizei)source.size(), nullptr, &source[0]);
    source.resize(length > 0 ? length - 1 : 0);
    return source;
}

// A copy would delete the same GL program twice.
static_assert(!std::is_copy_constructible<ShaderProgram>::value, "ShaderProgram owns its program");
static_assert(!std::is_copy_assignable<ShaderProgram>::value, "ShaderProgram owns its program");

class ShaderProgramTest : public GlTest {
  protected:
    void buildValidProgram(ShaderProgram& program) {
        program.compileShaderSource(GL_VERTEX_SHADER, VERTEX_SOURCE);
        program.compileShaderSource(GL_FRAGMENT_SHADER, FRAGMENT_SOURCE);
        program.linkProgram();
    }
};

} // namespace

TEST_F(ShaderProgramTest, StartsEmptyWithProgramZero) {
    ShaderProgram program;
    EXPECT_EQ(0u, program.programId);
    EXPECT_EQ(0, program.shaderCount);
    for (GLuint id : program.shaderIds)
        EXPECT_EQ(0u, id);
    EXPECT_TRUE(program.attributeLocations.empty());
    EXPECT_TRUE(program.uniformLocations.empty());
}

TEST_F(ShaderProgramTest, FileLinesAreJoinedWithCrLfIncludingTheLast) {
    for (const char* contents : {"a\nb", "a\r\nb\r\n", "a\nb\n"}) {
        ShaderProgram program;
        testing::internal::CaptureStderr(); // "a" does not compile
        program.compileShaderFile(GL_VERTEX_SHADER, writeTempFile("twoLines.c", contents));
        testing::internal::GetCapturedStderr();
        ASSERT_EQ(1, program.shaderCount);
        EXPECT_EQ("a\r\nb\r\n", sourceOf(program.shaderIds[0])) << "file " << contents;
    }
}

TEST_F(ShaderProgramTest, EmptyFileIsCompiledAsAnEmptySourceAndTakesASlot) {
    ShaderProgram program;
    testing::internal::CaptureStderr();
    program.compileShaderFile(GL_FRAGMENT_SHADER, writeTempFile("empty.c", ""));
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(1, program.shaderCount);
    EXPECT_NE(0u, program.shaderIds[0]);
    EXPECT_EQ("", sourceOf(program.shaderIds[0]));
}

TEST_F(ShaderProgramTest, MissingFileIsReportedAndAddsNoShader) {
    ShaderProgram program;
    testing::internal::CaptureStderr();
    program.compileShaderFile(GL_VERTEX_SHADER, "no/such/Shader.c");
    EXPECT_EQ("Error loading shader: no/such/Shader.c\n", testing::internal::GetCapturedStderr());
    EXPECT_EQ(0, program.shaderCount);
}

TEST_F(ShaderProgramTest, CompileAndLinkFailuresAreLoggedAndTheSlotStaysUsed) {
    ShaderProgram program;
    testing::internal::CaptureStderr();
    program.compileShaderSource(GL_VERTEX_SHADER, "this is not GLSL");
    std::string compileLog = testing::internal::GetCapturedStderr();
    EXPECT_EQ(0u, compileLog.find("Compile log: ")) << compileLog;
    EXPECT_EQ(1, program.shaderCount);
    testing::internal::CaptureStderr();
    program.linkProgram();
    std::string linkLog = testing::internal::GetCapturedStderr();
    EXPECT_EQ(0u, linkLog.find("Link log: ")) << linkLog;
    EXPECT_NE(0u, program.programId) << "the program stays set after a failed link";
}

TEST_F(ShaderProgramTest, LinksOnlyTheUsedSlotsAndBindsTheProgram) {
    ShaderProgram program;
    testing::internal::CaptureStderr();
    buildValidProgram(program);
    EXPECT_EQ("", testing::internal::GetCapturedStderr());
    GLint attached = 0, linked = GL_FALSE;
    glGetProgramiv(program.programId, GL_ATTACHED_SHADERS, &attached);
    glGetProgramiv(program.programId, GL_LINK_STATUS, &linked);
    EXPECT_EQ(2, attached);
    // Exactly the two compiled shaders, each already flagged for deletion with the program.
    GLuint shaders[SHADER_SLOTS] = {0, 0, 0};
    GLsizei count = 0;
    glGetAttachedShaders(program.programId, SHADER_SLOTS, &count, shaders);
    ASSERT_EQ(2, count);
    EXPECT_TRUE((shaders[0] == program.shaderIds[0] && shaders[1] == program.shaderIds[1]) ||
                (shaders[0] == program.shaderIds[1] && shaders[1] == program.shaderIds[0]));
    for (int i = 0; i < 2; i++) {
        GLint deleteFlag = GL_FALSE;
        glGetShaderiv(shaders[i], GL_DELETE_STATUS, &deleteFlag);
        EXPECT_EQ(GL_TRUE, deleteFlag) << "shader " << shaders[i] << " outlives its program";
    }
    EXPECT_EQ(GL_TRUE, linked);
    EXPECT_EQ(2, program.shaderCount) << "the slots are kept after linking";
    program.bind();
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ((GLint)program.programId, current);
    program.unbind();
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(0, current);
}

TEST_F(ShaderProgramTest, LocationsComeFromTheLinkedProgramAndAbsentNamesGetMinusOne) {
    ShaderProgram program;
    buildValidProgram(program);
    program.locateUniform("tint");
    program.locateUniform("absent");
    program.locateAttribute("position");
    program.locateAttribute("absent");
    EXPECT_EQ(glGetUniformLocation(program.programId, "tint"),
              (GLint)program.uniformLocation("tint"));
    EXPECT_EQ(glGetAttribLocation(program.programId, "position"),
              (GLint)program.attributeLocation("position"));
    EXPECT_EQ(-1, (GLint)program.uniformLocation("absent"));
    EXPECT_EQ(-1, (GLint)program.attributeLocation("absent"));
}

TEST_F(ShaderProgramTest, LookingUpAnUnlocatedNameInsertsLocationZero) {
    ShaderProgram program;
    buildValidProgram(program);
    EXPECT_EQ(0u, program.uniformLocation("scale"));
    EXPECT_EQ(1u, program.uniformLocations.count("scale"));
    EXPECT_EQ(0u, program.attributeLocation("never"));
    EXPECT_EQ(1u, program.attributeLocations.count("never"));
}

TEST_F(ShaderProgramTest, FourthShaderIsRefusedWithAMessage) {
    ShaderProgram program;
    for (int i = 0; i < 3; i++)
        program.compileShaderSource(GL_FRAGMENT_SHADER, FRAGMENT_SOURCE);
    GLuint before[SHADER_SLOTS] = {program.shaderIds[0], program.shaderIds[1],
                                   program.shaderIds[2]};
    testing::internal::CaptureStderr();
    program.compileShaderSource(GL_VERTEX_SHADER, VERTEX_SOURCE);
    std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, message.find("refused")) << message;
    EXPECT_EQ(3, program.shaderCount);
    for (int i = 0; i < SHADER_SLOTS; i++)
        EXPECT_EQ(before[i], program.shaderIds[i]) << "slot " << i;
}
