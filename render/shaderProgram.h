#pragma once
#include <GL/glew.h>

#include <map>
#include <string>

const int SHADER_SLOTS = 3;

// One GLSL program from up to three shaders, with attribute and uniform locations remembered by
// name. Needs GLEW initialised in a current context. Problems go to standard error.
class ShaderProgram {
  public:
    ShaderProgram();
    ~ShaderProgram();
    // Owns its GL program, which the destructor deletes: a copy would delete it a second time.
    ShaderProgram(const ShaderProgram&) = delete;
    ShaderProgram& operator=(const ShaderProgram&) = delete;

    // Appends the shader to the slots even when it fails to compile; a fourth is refused.
    void compileShaderSource(GLenum type, std::string source);
    // Lines are joined with CR LF, the last one included.
    void compileShaderFile(GLenum type, std::string path);
    // Attaches the non-zero slots, links, then deletes the shader objects.
    void linkProgram();
    void bind();
    void unbind();
    void locateAttribute(std::string name);
    // A name never located comes back as 0 (and is remembered so).
    unsigned int attributeLocation(std::string name);
    void locateUniform(std::string name);
    unsigned int uniformLocation(std::string name);

    GLuint programId;               // 0 until linkProgram
    int shaderCount;                // 0 .. SHADER_SLOTS
    GLuint shaderIds[SHADER_SLOTS]; // in compile order; 0 for an unused slot
    std::map<std::string, unsigned int> attributeLocations; // -1 kept as its bit pattern
    std::map<std::string, unsigned int> uniformLocations;   // -1 kept as its bit pattern
};
