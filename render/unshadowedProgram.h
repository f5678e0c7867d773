#pragma once
#include <GL/glew.h>

// The lit pass's program with the shadow lookup compiled out (same lighting and texturing): the
// baseline that measurements and image checks compare the shadow program against. Built from the
// working directory's shader files; needs bindExtensionEntryPoints. It has no ShadowMap: while it
// stands in for shadowProgram, shadowMapUniform must be -1.
GLhandleARB buildUnshadowedProgram();
