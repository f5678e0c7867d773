#pragma once
#include <GL/glew.h>

#include "platform/platform.h"

// The rendering subsystem's own ARB/EXT entry points, separate from GLEW's: every call of these
// sixteen functions in the frame, the shadow target and the shader loading goes through here.
struct ExtensionEntryPoints {
    PFNGLACTIVETEXTUREARBPROC activeTextureARB;
    PFNGLGENFRAMEBUFFERSEXTPROC genFramebuffersEXT;
    PFNGLBINDFRAMEBUFFEREXTPROC bindFramebufferEXT;
    PFNGLFRAMEBUFFERTEXTURE2DEXTPROC framebufferTexture2DEXT;
    PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC checkFramebufferStatusEXT;
    PFNGLCREATEPROGRAMOBJECTARBPROC createProgramObjectARB;
    PFNGLUSEPROGRAMOBJECTARBPROC useProgramObjectARB;
    PFNGLCREATESHADEROBJECTARBPROC createShaderObjectARB;
    PFNGLSHADERSOURCEARBPROC shaderSourceARB;
    PFNGLCOMPILESHADERARBPROC compileShaderARB;
    PFNGLGETOBJECTPARAMETERIVARBPROC getObjectParameterivARB;
    PFNGLATTACHOBJECTARBPROC attachObjectARB;
    PFNGLGETINFOLOGARBPROC getInfoLogARB;
    PFNGLLINKPROGRAMARBPROC linkProgramARB;
    PFNGLGETUNIFORMLOCATIONARBPROC getUniformLocationARB;
    PFNGLUNIFORM1IARBPROC uniform1iARB;
};

extern ExtensionEntryPoints extensionEntryPoints;

// Fills extensionEntryPoints in table order; needs a current GL context. Ends the demo with
// status 1, naming the function, when one is missing.
void bindExtensionEntryPoints();

// The named function of the current context, provided the context lists its extension (Mesa
// answers any name with a stub, so the address alone proves nothing). Otherwise names the function
// and ends the demo with status 1 (endProgram), answering null where that returns.
EntryPoint lookupRequiredEntryPoint(const char* name, const char* extension);
