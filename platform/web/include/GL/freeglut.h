#pragma once
// The demo's GLUT header in the browser: Emscripten's declarations, answered by glutShell.cpp.
#include <GL/glut.h>
#include <GL/freeglut_std.h>
