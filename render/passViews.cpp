#include "render/passViews.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <regex>

#include "scene/sceneState.h"
#include "render/frameSize.h"
#include "math/transforms.h"
#include "render/extensionEntryPoints.h"
#include "render/frame.h"
#include "render/frameReadback.h"
#include "render/renderPasses.h"
#include "render/shaderLoading.h"
#include "render/shadowTarget.h"
#include "render/unshadowedProgram.h"
#include "scene/fileBytes.h"
#include "scene/sceneStore.h"

#include <cstdlib>

// The fragment shader's bias: a constant floor and a share of the receiver's slope.
static const char* const BIAS_CONSTANTS[] = {"CONSTANT_BIAS", "SLOPE_BIAS_TEXELS",
                                             "MAX_SLOPE_BIAS"};
// Distance from the light that the depth picture's two colour bytes span (units): 1/16 unit steps.
static const double DEPTH_CODE_RANGE = 4096.0;

// Draws the depth texture over the window: each pixel's distance from the light as 16 bits in
// red and green, blue set where nothing was drawn. The readback turns it into grey, so the same
// picture comes from a desktop GL and from WebGL 2, which cannot read depth back.
static const char* const DEPTH_VIEW_VERTEX = "#version 120\n"
                                             "void main() {\n"
                                             "    gl_TexCoord[0] = gl_MultiTexCoord0;\n"
                                             "    gl_Position = gl_Vertex;\n"
                                             "}\n";
static const char* const DEPTH_VIEW_FRAGMENT =
    "#version 120\n"
    "uniform sampler2D DepthMap;\n"
    "const vec3 Planes = vec3(%.1f, %.1f, %.1f); // near, far, the code's range\n"
    "void main() {\n"
    "    float depth = texture2D(DepthMap, gl_TexCoord[0].st).r;\n"
    "    if (depth >= 1.0) {\n"
    "        gl_FragColor = vec4(0.0, 0.0, 1.0, 1.0);\n"
    "        return;\n"
    "    }\n"
    "    float ndc = 2.0 * depth - 1.0;\n"
    "    float distance = 2.0 * Planes.x * Planes.y /\n"
    "                     (Planes.y + Planes.x - ndc * (Planes.y - Planes.x));\n"
    "    float code = floor(clamp(distance / Planes.z, 0.0, 1.0) * 65535.0 + 0.5);\n"
    "    float high = floor(code / 256.0);\n"
    "    gl_FragColor = vec4(high / 255.0, (code - high * 256.0) / 255.0, 0.0, 1.0);\n"
    "}\n";

// Both tap counts for each scale 0, 0.25 .. 4.
static const int VARIANT_CAPACITY = 34;

static GLhandleARB unshadowedProgram;
static GLhandleARB variants[VARIANT_CAPACITY]; // by variantSlot; 0 until first asked for
static GLhandleARB depthViewProgram;

// ---- helpers ----
static std::string withDefine(const std::string& source, const char* define);
static void drawWith(GLhandleARB program, void (*draw)());
static void drawLitPasses();
static void drawDepthView(std::vector<unsigned char>& out, DepthStretch& stretch);
static int variantSlot(const ShadowSetting& setting);

// The define must follow the #version line, which has to stay first.
static std::string withDefine(const std::string& source, const char* define) {
    size_t version = source.find("#version");
    size_t lineEnd = version == std::string::npos ? std::string::npos : source.find('\n', version);
    size_t at = lineEnd == std::string::npos ? 0 : lineEnd + 1;
    return source.substr(0, at) + "#define " + define + "\n" + source.substr(at);
}

bool shadowShaderText(const std::string& source, const ShadowSetting& setting, std::string& out) {
    if (!(setting.biasScale >= 0.0 && setting.biasScale <= MAX_BIAS_SCALE)) {
        fprintf(stderr, "Dust Riders: bias scale %g outside 0 to %g\n", setting.biasScale,
                MAX_BIAS_SCALE);
        return false;
    }
    out = setting.oneTap ? withDefine(source, "ONE_TAP 1") : source;
    for (const char* name : BIAS_CONSTANTS) {
        std::regex declaration(std::string("(const float ") + name + "\\s*=\\s*)([^;]+);");
        std::smatch found;
        if (!std::regex_search(out, found, declaration)) {
            fprintf(stderr, "Dust Riders: no 'const float %s' in the fragment shader\n", name);
            return false;
        }
        char value[64];
        snprintf(value, sizeof value, "%.9g", setting.biasScale * atof(found[2].str().c_str()));
        std::string text = value;
        // GLSL 1.20 wants a float literal: 0 becomes 0.0, 3e-05 keeps its exponent.
        if (text.find_first_of(".e") == std::string::npos)
            text += ".0";
        out = found.prefix().str() + found[1].str() + text + ";" + found.suffix().str();
    }
    return true;
}

// Steps of the bias scale, one tap after the grid; -1 outside the range.
static int variantSlot(const ShadowSetting& setting) {
    if (!(setting.biasScale >= 0.0 && setting.biasScale <= MAX_BIAS_SCALE))
        return -1;
    int step = (int)std::lround(setting.biasScale / BIAS_SCALE_STEP);
    int slot = step + (setting.oneTap ? VARIANT_CAPACITY / 2 : 0);
    return step < VARIANT_CAPACITY / 2 ? slot : -1;
}

GLhandleARB shadowVariant(const ShadowSetting& asked) {
    int slot = variantSlot(asked);
    if (slot < 0) {
        fprintf(stderr, "Dust Riders: bias scale %g outside 0 to %g\n", asked.biasScale,
                MAX_BIAS_SCALE);
        return 0;
    }
    if (variants[slot])
        return variants[slot];
    ShadowSetting setting = {BIAS_SCALE_STEP * (slot % (VARIANT_CAPACITY / 2)), asked.oneTap};
    unsigned char* bytes = nullptr;
    size_t size = 0;
    if (!readFileBytes("FragmentShader.c", &bytes, &size)) {
        fprintf(stderr, "Dust Riders: cannot read FragmentShader.c\n");
        return 0;
    }
    std::string source((const char*)bytes, size), text;
    free(bytes);
    if (!shadowShaderText(source, setting, text))
        return 0;
    const ExtensionEntryPoints& e = extensionEntryPoints;
    GLhandleARB program = e.createProgramObjectARB();
    e.attachObjectARB(program, loadShaderFromFile("VertexShader.c", GL_VERTEX_SHADER_ARB));
    e.attachObjectARB(program,
                      compileShaderText("FragmentShader.c", text.c_str(), GL_FRAGMENT_SHADER_ARB));
    e.linkProgramARB(program);
    variants[slot] = program;
    return program;
}

bool preparePassViews() {
    const ExtensionEntryPoints& e = extensionEntryPoints;
    unshadowedProgram = buildUnshadowedProgram();
    depthViewProgram = e.createProgramObjectARB();
    e.attachObjectARB(depthViewProgram,
                      compileShaderText("depth view", DEPTH_VIEW_VERTEX, GL_VERTEX_SHADER_ARB));
    char fragment[1024];
    snprintf(fragment, sizeof fragment, DEPTH_VIEW_FRAGMENT, NEAR_PLANE, FAR_PLANE,
             DEPTH_CODE_RANGE);
    e.attachObjectARB(depthViewProgram,
                      compileShaderText("depth view", fragment, GL_FRAGMENT_SHADER_ARB));
    e.linkProgramARB(depthViewProgram);
    if (!unshadowedProgram || !depthViewProgram) {
        fprintf(stderr, "Dust Riders: the pass views' programs could not be made\n");
        return false;
    }
    return true;
}

// As drawFrame draws them, the sky's clear colour first.
static void drawLitPasses() {
    beginFrame();
    renderDepthPass();
    renderLitPass();
}

// The frame's own drawing, with another program standing in for shadowProgram.
static void drawWith(GLhandleARB program, void (*draw)()) {
    GLhandleARB keptProgram = shadowProgram;
    int keptUniform = shadowMapUniform;
    shadowProgram = program;
    shadowMapUniform = program == unshadowedProgram
                           ? -1
                           : extensionEntryPoints.getUniformLocationARB(program, "ShadowMap");
    draw();
    shadowProgram = keptProgram;
    shadowMapUniform = keptUniform;
}

// The depth pass just ran: its texture, as far as the pass drew into it, over the whole window.
static void drawDepthView(std::vector<unsigned char>& out, DepthStretch& stretch) {
    const ExtensionEntryPoints& e = extensionEntryPoints;
    GLint drawn[4];
    glGetIntegerv(GL_VIEWPORT, drawn);
    float right = shadowMapWidth > 0 ? (float)drawn[2] / shadowMapWidth : 1.0f;
    float top = shadowMapHeight > 0 ? (float)drawn[3] / shadowMapHeight : 1.0f;
    e.bindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glViewport(0, 0, windowWidth, windowHeight);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    e.useProgramObjectARB(depthViewProgram);
    e.uniform1iARB(e.getUniformLocationARB(depthViewProgram, "DepthMap"), 0);
    e.activeTextureARB(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, shadowDepthTexture);
    // The program ignores the matrices, but a layer that batches may apply them to the vertices.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(-1, -1);
    glTexCoord2f(right, 0);
    glVertex2f(1, -1);
    glTexCoord2f(right, top);
    glVertex2f(1, 1);
    glTexCoord2f(0, top);
    glVertex2f(-1, 1);
    glEnd();
    e.useProgramObjectARB(0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glEnable(GL_DEPTH_TEST);
    std::vector<unsigned char> codes;
    readBackBuffer(windowWidth, windowHeight, codes);
    std::vector<float> distance(codes.size() / 3);
    for (size_t i = 0; i < distance.size(); i++) {
        const unsigned char* c = &codes[3 * i];
        distance[i] =
            c[2] > 127 ? -1.0f : (float)((c[0] * 256 + c[1]) / 65535.0 * DEPTH_CODE_RANGE);
    }
    distanceToGrey(distance, out, stretch);
}

void drawPassView(PassView view, GLhandleARB shadowed, std::vector<unsigned char>& out,
                  DepthStretch* stretch) {
    if (shadowed == 0)
        shadowed = shadowProgram;
    DepthStretch unused;
    std::vector<unsigned char> unshadowed;
    switch (view) {
    case VIEW_DEPTH:
        renderDepthPass();
        drawDepthView(out, stretch ? *stretch : unused);
        break;
    case VIEW_UNSHADOWED:
        drawWith(unshadowedProgram, drawLitPasses);
        readBackBuffer(windowWidth, windowHeight, out);
        break;
    case VIEW_SHADOWED:
        drawWith(shadowed, drawLitPasses);
        readBackBuffer(windowWidth, windowHeight, out);
        break;
    case VIEW_FRAME:
        drawWith(shadowed, drawFrame);
        readBackBuffer(windowWidth, windowHeight, out);
        break;
    case VIEW_DIFFERENCE: {
        std::vector<unsigned char> lit;
        drawWith(unshadowedProgram, drawLitPasses);
        readBackBuffer(windowWidth, windowHeight, unshadowed);
        drawWith(shadowed, drawLitPasses);
        readBackBuffer(windowWidth, windowHeight, lit);
        differenceImage(unshadowed.data(), lit.data(), windowWidth * windowHeight, out);
        break;
    }
    default:
        out.assign((size_t)windowWidth * windowHeight * 3, 0);
    }
}
