#include "render/shaderProgram.h"

#include <fstream>
#include <iostream>
#include <vector>

// ---- helpers ----
static void reportShaderLog(GLuint shader);
static void reportProgramLog(GLuint program);

static void reportShaderLog(GLuint shader) {
    GLint infoLogLength = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &infoLogLength);
    std::vector<GLchar> log(infoLogLength > 0 ? infoLogLength : 1, '\0');
    glGetShaderInfoLog(shader, (GLsizei)log.size(), nullptr, log.data());
    std::cerr << "Compile log: " << log.data() << std::endl;
}

static void reportProgramLog(GLuint program) {
    GLint infoLogLength = 0;
    glGetProgramiv(program, GL_INFO_LOG_LENGTH, &infoLogLength);
    std::vector<GLchar> log(infoLogLength > 0 ? infoLogLength : 1, '\0');
    glGetProgramInfoLog(program, (GLsizei)log.size(), nullptr, log.data());
    std::cerr << "Link log: " << log.data() << std::endl;
}

ShaderProgram::ShaderProgram() : programId(0), shaderCount(0), shaderIds{0, 0, 0} {}

ShaderProgram::~ShaderProgram() {
    attributeLocations.clear();
    uniformLocations.clear();
    // Deleting program 0 is ignored by GL, so an unlinked object is safe to destroy.
    glDeleteProgram(programId);
}

void ShaderProgram::compileShaderSource(GLenum type, std::string source) {
    // Refused before any GL object is made, so no slot is overwritten and nothing leaks.
    if (shaderCount >= SHADER_SLOTS) {
        std::cerr << "Shader program: no free shader slot, shader refused (" << SHADER_SLOTS
                  << " at most)" << std::endl;
        return;
    }
    GLuint shader = glCreateShader(type);
    const GLchar* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint status = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    if (status == GL_FALSE)
        reportShaderLog(shader);
    // Kept even when compiling failed: the link reports the rest.
    shaderIds[shaderCount] = shader;
    shaderCount++;
}

void ShaderProgram::compileShaderFile(GLenum type, std::string path) {
    std::ifstream file(path);
    if (!file) {
        std::cerr << "Error loading shader: " << path << std::endl;
        return;
    }
    std::string buffer;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        buffer += line;
        buffer += "\r\n";
    }
    compileShaderSource(type, buffer);
}

void ShaderProgram::linkProgram() {
    programId = glCreateProgram();
    for (int i = 0; i < SHADER_SLOTS; i++)
        if (shaderIds[i] != 0)
            glAttachShader(programId, shaderIds[i]);
    glLinkProgram(programId);
    GLint status = GL_FALSE;
    glGetProgramiv(programId, GL_LINK_STATUS, &status);
    if (status == GL_FALSE)
        reportProgramLog(programId);
    // The program keeps its attached shaders alive; deleting 0 is ignored by GL.
    for (int i = 0; i < SHADER_SLOTS; i++)
        glDeleteShader(shaderIds[i]);
}

void ShaderProgram::bind() {
    glUseProgram(programId);
}

void ShaderProgram::unbind() {
    glUseProgram(0);
}

void ShaderProgram::locateAttribute(std::string name) {
    attributeLocations[name] = (unsigned int)glGetAttribLocation(programId, name.c_str());
}

unsigned int ShaderProgram::attributeLocation(std::string name) {
    return attributeLocations[name];
}

void ShaderProgram::locateUniform(std::string name) {
    uniformLocations[name] = (unsigned int)glGetUniformLocation(programId, name.c_str());
}

unsigned int ShaderProgram::uniformLocation(std::string name) {
    return uniformLocations[name];
}
