#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

#include "render/extensionEntryPoints.h"
#include "render/shaderLoading.h"
#include "tests/glFixture.h"

namespace {

class ShaderSource : public GlTest {
  protected:
    std::string path;
    void SetUp() override {
        bindExtensionEntryPoints();
        path = "/tmp/dustRidersShaderSource." + std::to_string(getpid()) + ".c";
    }
    void TearDown() override { remove(path.c_str()); }
    void writeSource(const std::string& text) {
        FILE* file = fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        fwrite(text.data(), 1, text.size(), file);
        fclose(file);
    }
};

// What GL holds as the shader's source: its length counts the terminating zero.
int sourceLength(GLhandleARB shader) {
    GLint length = -1;
    glGetObjectParameterivARB(shader, GL_OBJECT_SHADER_SOURCE_LENGTH_ARB, &length);
    return length;
}

} // namespace

TEST_F(ShaderSource, FilesUpToOneByteBelowTheBufferArriveWhole) {
    // A comment fills the file up to its size; the last line is the shader itself.
    const std::string body = "\nvoid main() { gl_Position = vec4(0.0); }\n";
    for (size_t size : {(size_t)0, (size_t)1000, (size_t)SHADER_SOURCE_CAPACITY - 1}) {
        SCOPED_TRACE(size);
        std::string text;
        if (size > 0)
            text = "//" + std::string(size - 2 - body.size(), 'x') + body;
        writeSource(text);
        ASSERT_EQ(text.size(), size);
        testing::internal::CaptureStdout();
        GLhandleARB shader = loadShaderFromFile(path.c_str(), GL_VERTEX_SHADER_ARB);
        std::string printed = testing::internal::GetCapturedStdout();
        ASSERT_NE(shader, 0u);
        EXPECT_EQ(sourceLength(shader), (int)size + 1);
        GLint compiled = 0;
        glGetObjectParameterivARB(shader, GL_OBJECT_COMPILE_STATUS_ARB, &compiled);
        if (size > 0) {
            EXPECT_TRUE(compiled) << printed;
        }
        glDeleteObjectARB(shader);
    }
}
