#pragma once
// What Emscripten's GL/glew.h gives the layer, from the desktop's headers: the GL 1.x calls and
// the later ones as prototypes, so that the layer's files can define them.
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>
