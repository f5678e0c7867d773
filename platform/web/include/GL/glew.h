#pragma once
// Emscripten's GLEW header, and GLU with it, as the desktop's glew.h brings it.
#include_next <GL/glew.h>
#include <GL/glu.h>
