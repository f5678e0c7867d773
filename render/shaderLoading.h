#pragma once
#include <GL/glew.h>

const int SHADER_SOURCE_CAPACITY = 400000; // bytes, terminating zero included
const int SHADER_LOG_CAPACITY = 3000;      // bytes of compile log kept

extern GLhandleARB shadowProgram; // program object of the lit pass
extern int shadowMapUniform;      // location of ShadowMap, -1 when absent

// Reads and compiles one shader file (type GL_VERTEX_SHADER_ARB or GL_FRAGMENT_SHADER_ARB); the
// handle also when compilation failed. Ends the demo with status 1 (endProgram; in the browser it
// then returns 0) when the file cannot be read, is 400,000 bytes or longer, or no shader object
// can be created.
GLhandleARB loadShaderFromFile(const char* path, GLenum type);

// Compiles zero-terminated source text read from path; as loadShaderFromFile after the read.
GLhandleARB compileShaderText(const char* path, const char* text, GLenum type);

// Compiles VertexShader.c and FragmentShader.c from the working directory into shadowProgram.
// Needs bindExtensionEntryPoints.
void buildShadowProgram();
