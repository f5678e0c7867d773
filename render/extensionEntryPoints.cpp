#include "render/extensionEntryPoints.h"

#include <cstdio>

#include "platform/platform.h"

ExtensionEntryPoints extensionEntryPoints; // all null until bindExtensionEntryPoints

// ---- helpers ----
template <typename FunctionPointer>
static void bindEntryPoint(const char* name, const char* extension, FunctionPointer& slot);

template <typename FunctionPointer>
static void bindEntryPoint(const char* name, const char* extension, FunctionPointer& slot) {
    slot = reinterpret_cast<FunctionPointer>(lookupRequiredEntryPoint(name, extension));
}

EntryPoint lookupRequiredEntryPoint(const char* name, const char* extension) {
    EntryPoint address = lookupEntryPoint(name);
    if (address == nullptr || !hasGlExtension(extension)) {
        printf("Missing OpenGL entry point: %s (needs %s).\n", name, extension);
        fflush(stdout);
        endProgram(1);
        return nullptr;
    }
    return address;
}

void bindExtensionEntryPoints() {
    ExtensionEntryPoints& e = extensionEntryPoints;
    const char* multitexture = "GL_ARB_multitexture";
    const char* framebuffer = "GL_EXT_framebuffer_object";
    const char* shaderObjects = "GL_ARB_shader_objects";
    bindEntryPoint("glActiveTextureARB", multitexture, e.activeTextureARB);
    bindEntryPoint("glGenFramebuffersEXT", framebuffer, e.genFramebuffersEXT);
    bindEntryPoint("glBindFramebufferEXT", framebuffer, e.bindFramebufferEXT);
    bindEntryPoint("glFramebufferTexture2DEXT", framebuffer, e.framebufferTexture2DEXT);
    bindEntryPoint("glCheckFramebufferStatusEXT", framebuffer, e.checkFramebufferStatusEXT);
    bindEntryPoint("glCreateProgramObjectARB", shaderObjects, e.createProgramObjectARB);
    bindEntryPoint("glUseProgramObjectARB", shaderObjects, e.useProgramObjectARB);
    bindEntryPoint("glCreateShaderObjectARB", shaderObjects, e.createShaderObjectARB);
    bindEntryPoint("glShaderSourceARB", shaderObjects, e.shaderSourceARB);
    bindEntryPoint("glCompileShaderARB", shaderObjects, e.compileShaderARB);
    bindEntryPoint("glGetObjectParameterivARB", shaderObjects, e.getObjectParameterivARB);
    bindEntryPoint("glAttachObjectARB", shaderObjects, e.attachObjectARB);
    bindEntryPoint("glGetInfoLogARB", shaderObjects, e.getInfoLogARB);
    bindEntryPoint("glLinkProgramARB", shaderObjects, e.linkProgramARB);
    bindEntryPoint("glGetUniformLocationARB", shaderObjects, e.getUniformLocationARB);
    bindEntryPoint("glUniform1iARB", shaderObjects, e.uniform1iARB);
}
