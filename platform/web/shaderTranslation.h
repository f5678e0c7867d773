#pragma once
// GLSL 1.20 as the demo writes it, made GLSL ES 3.00 for WebGL 2 when the source is handed to GL:
// the fixed-function state the shaders read (gl_ModelViewMatrix, gl_LightSource, gl_FrontMaterial,
// ...) becomes uniforms and attributes of the same names with dr_ for gl_, declared after the
// version line. The shading math itself passes through untouched.
#include <string>

// vertexStage: true for a vertex shader, false for a fragment shader.
std::string translateShader(const std::string& source, bool vertexStage);
