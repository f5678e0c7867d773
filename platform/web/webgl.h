#pragma once
// WebGL 2 as Emscripten offers it under its second names, so that the layer can answer the
// demo's gl* calls itself and still reach the browser's GL.
#include <GL/glew.h>

extern "C" {
void emscripten_glActiveTexture(GLenum unit);
void emscripten_glAttachShader(GLuint program, GLuint shader);
void emscripten_glBindAttribLocation(GLuint program, GLuint index, const GLchar* name);
void emscripten_glBindBuffer(GLenum target, GLuint buffer);
void emscripten_glBindFramebuffer(GLenum target, GLuint framebuffer);
void emscripten_glBindTexture(GLenum target, GLuint texture);
void emscripten_glBindVertexArray(GLuint array);
void emscripten_glBlendFunc(GLenum source, GLenum destination);
void emscripten_glBufferData(GLenum target, GLsizeiptr size, const void* data, GLenum usage);
void emscripten_glBufferSubData(GLenum target, GLintptr offset, GLsizeiptr size, const void* data);
GLenum emscripten_glCheckFramebufferStatus(GLenum target);
void emscripten_glClear(GLbitfield mask);
void emscripten_glClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a);
void emscripten_glColorMask(GLboolean r, GLboolean g, GLboolean b, GLboolean a);
void emscripten_glCompileShader(GLuint shader);
GLuint emscripten_glCreateProgram();
GLuint emscripten_glCreateShader(GLenum type);
void emscripten_glCullFace(GLenum mode);
void emscripten_glDepthMask(GLboolean flag);
void emscripten_glDeleteBuffers(GLsizei n, const GLuint* buffers);
void emscripten_glDeleteProgram(GLuint program);
void emscripten_glDeleteShader(GLuint shader);
void emscripten_glDeleteVertexArrays(GLsizei n, const GLuint* arrays);
void emscripten_glDisable(GLenum cap);
void emscripten_glDisableVertexAttribArray(GLuint index);
void emscripten_glDrawArrays(GLenum mode, GLint first, GLsizei count);
void emscripten_glDrawBuffers(GLsizei n, const GLenum* buffers);
void emscripten_glDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices);
void emscripten_glEnable(GLenum cap);
void emscripten_glEnableVertexAttribArray(GLuint index);
void emscripten_glFinish();
void emscripten_glFlush();
void emscripten_glFramebufferTexture2D(GLenum target, GLenum attachment, GLenum textarget,
                                       GLuint texture, GLint level);
void emscripten_glGenBuffers(GLsizei n, GLuint* buffers);
void emscripten_glGenFramebuffers(GLsizei n, GLuint* framebuffers);
void emscripten_glGenTextures(GLsizei n, GLuint* textures);
void emscripten_glGenVertexArrays(GLsizei n, GLuint* arrays);
void emscripten_glGenerateMipmap(GLenum target);
void emscripten_glGetIntegerv(GLenum name, GLint* value);
void emscripten_glGetProgramInfoLog(GLuint program, GLsizei size, GLsizei* length, GLchar* log);
void emscripten_glGetProgramiv(GLuint program, GLenum name, GLint* value);
void emscripten_glGetShaderInfoLog(GLuint shader, GLsizei size, GLsizei* length, GLchar* log);
void emscripten_glGetShaderiv(GLuint shader, GLenum name, GLint* value);
GLint emscripten_glGetAttribLocation(GLuint program, const GLchar* name);
GLint emscripten_glGetUniformLocation(GLuint program, const GLchar* name);
GLboolean emscripten_glIsShader(GLuint object);
void emscripten_glLinkProgram(GLuint program);
void emscripten_glPixelStorei(GLenum name, GLint value);
void emscripten_glReadBuffer(GLenum mode);
void emscripten_glReadPixels(GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type,
                             void* pixels);
void emscripten_glShaderSource(GLuint shader, GLsizei count, const GLchar* const* text,
                               const GLint* lengths);
void emscripten_glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei w, GLsizei h,
                             GLint border, GLenum format, GLenum type, const void* pixels);
void emscripten_glTexParameteri(GLenum target, GLenum name, GLint value);
void emscripten_glUniform1i(GLint location, GLint value);
void emscripten_glUniform1f(GLint location, GLfloat value);
void emscripten_glUniform4fv(GLint location, GLsizei count, const GLfloat* value);
void emscripten_glUniformMatrix3fv(GLint location, GLsizei count, GLboolean transpose,
                                   const GLfloat* value);
void emscripten_glUniformMatrix4fv(GLint location, GLsizei count, GLboolean transpose,
                                   const GLfloat* value);
void emscripten_glUseProgram(GLuint program);
void emscripten_glVertexAttribPointer(GLuint index, GLint size, GLenum type, GLboolean normalized,
                                      GLsizei stride, const void* pointer);
void emscripten_glViewport(GLint x, GLint y, GLsizei w, GLsizei h);
}
