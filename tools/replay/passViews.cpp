#include "passViews.h"

#include <GL/glew.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <regex>

#include "app/window.h"
#include "render/extensionEntryPoints.h"
#include "render/frameReadback.h"
#include "render/renderPasses.h"
#include "render/shaderLoading.h"
#include "render/shadowTarget.h"
#include "render/unshadowedProgram.h"
#include "scene/fileBytes.h"

#include "shotCompare.h"

#include <stb_image.h>
#include <stb_image_write.h>

const char* const PASS_VIEW_NAMES[PASS_VIEW_COUNT] = {"pass-1-depth.png", "pass-2-unshadowed.png",
                                                      "pass-3-shadowed.png", "pass-4-frame.png",
                                                      "acne.png"};

// The fragment shader's bias: a constant floor and a share of the receiver's slope.
static const char* const BIAS_CONSTANTS[] = {"CONSTANT_BIAS", "SLOPE_BIAS_TEXELS",
                                             "MAX_SLOPE_BIAS"};

static const int ACNE_VIEW = 4; // into PASS_VIEW_NAMES

static GLhandleARB unshadowedProgram;
static GLhandleARB noBiasProgram;
static int noBiasShadowMapUniform; // location of ShadowMap in noBiasProgram

// ---- helpers ----
static void readWindow(std::vector<unsigned char>& out);
static void readDepthMap(std::vector<unsigned char>& out);
static void drawLitPassWith(GLhandleARB program, int uniform);
static int writeView(const std::string& outDir, const std::string& compareDir, const char* name,
                     const unsigned char* rows, int width, int height, int scaleDown,
                     int windowShare);

bool withoutDepthBias(const std::string& source, std::string& out) {
    out = source;
    for (const char* name : BIAS_CONSTANTS) {
        std::regex declaration(std::string("(const float ") + name + "\\s*=\\s*)[^;]+;");
        if (!std::regex_search(out, declaration)) {
            fprintf(stderr, "replay: no 'const float %s' in the fragment shader\n", name);
            return false;
        }
        // "$01" is the declaration up to its value; the value becomes 0.0.
        out = std::regex_replace(out, declaration, "$010.0;");
    }
    return true;
}

void depthToGrey(const float* depth, int texels, double nearPlane, double farPlane,
                 std::vector<unsigned char>& out) {
    // Stored depth is not linear in distance: nearly every texel lies above 0.99. The eye
    // distance it stands for spreads the scene over the grey scale.
    std::vector<double> distance(texels), drawn;
    for (int i = 0; i < texels; i++) {
        double ndc = 2.0 * depth[i] - 1.0;
        distance[i] =
            2.0 * nearPlane * farPlane / (farPlane + nearPlane - ndc * (farPlane - nearPlane));
        if (depth[i] < 1.0f)
            drawn.push_back(distance[i]);
    }
    // The nearest and farthest hundredth of the drawn texels saturate, so a few stray texels
    // cannot flatten the rest.
    double nearest = nearPlane, farthest = farPlane;
    if (!drawn.empty()) {
        size_t low = drawn.size() / 100, high = drawn.size() - 1 - drawn.size() / 100;
        std::nth_element(drawn.begin(), drawn.begin() + low, drawn.end());
        nearest = drawn[low];
        std::nth_element(drawn.begin(), drawn.begin() + high, drawn.end());
        farthest = drawn[high];
    }
    double span = farthest > nearest ? farthest - nearest : 1.0;
    out.resize((size_t)texels * 3);
    for (int i = 0; i < texels; i++) {
        double share = depth[i] < 1.0f ? (distance[i] - nearest) / span : 1.0;
        unsigned char grey =
            (unsigned char)std::lround(255.0 * std::fmin(std::fmax(share, 0.0), 1.0));
        out[3 * i] = out[3 * i + 1] = out[3 * i + 2] = grey;
    }
}

bool preparePassViews() {
    unsigned char* bytes = nullptr;
    size_t size = 0;
    if (!readFileBytes("FragmentShader.c", &bytes, &size)) {
        fprintf(stderr, "replay: cannot read FragmentShader.c\n");
        return false;
    }
    std::string fragmentText((const char*)bytes, size);
    free(bytes);
    std::string noBiasText;
    if (!withoutDepthBias(fragmentText, noBiasText))
        return false;
    const ExtensionEntryPoints& e = extensionEntryPoints;
    unshadowedProgram = buildUnshadowedProgram();
    noBiasProgram = e.createProgramObjectARB();
    e.attachObjectARB(noBiasProgram, loadShaderFromFile("VertexShader.c", GL_VERTEX_SHADER_ARB));
    e.attachObjectARB(noBiasProgram, compileShaderText("FragmentShader.c", noBiasText.c_str(),
                                                       GL_FRAGMENT_SHADER_ARB));
    e.linkProgramARB(noBiasProgram);
    noBiasShadowMapUniform = e.getUniformLocationARB(noBiasProgram, "ShadowMap");
    return true;
}

static void readWindow(std::vector<unsigned char>& out) {
    readBackBuffer(windowWidth, windowHeight, out);
}

// The depth pass just drew into the shadow framebuffer; its depth attachment is the texture.
static void readDepthMap(std::vector<unsigned char>& out) {
    int texels = shadowMapWidth * shadowMapHeight;
    std::vector<float> depth(texels);
    extensionEntryPoints.bindFramebufferEXT(GL_FRAMEBUFFER_EXT, shadowFramebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, shadowMapWidth, shadowMapHeight, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    extensionEntryPoints.bindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    depthToGrey(depth.data(), texels, NEAR_PLANE, FAR_PLANE, out);
}

// Both passes as the frame runs them, with another program standing in for shadowProgram.
static void drawLitPassWith(GLhandleARB program, int uniform) {
    GLhandleARB keptProgram = shadowProgram;
    int keptUniform = shadowMapUniform;
    shadowProgram = program;
    shadowMapUniform = uniform;
    renderDepthPass();
    renderLitPass();
    shadowProgram = keptProgram;
    shadowMapUniform = keptUniform;
}

// windowShare: how many times the written view is smaller than the window on each side.
static int writeView(const std::string& outDir, const std::string& compareDir, const char* name,
                     const unsigned char* rows, int width, int height, int scaleDown,
                     int windowShare) {
    std::vector<unsigned char> view;
    scaleDownShot(rows, width, height, scaleDown, view);
    width /= scaleDown;
    height /= scaleDown;
    std::string path = outDir + "/" + name;
    if (!stbi_write_png(path.c_str(), width, height, 3, view.data(), width * 3)) {
        fprintf(stderr, "replay: cannot write %s\n", path.c_str());
        return 1;
    }
    if (compareDir.empty())
        return 0;
    std::string referencePath = compareDir + "/" + name;
    int w = 0, h = 0, channels = 0;
    unsigned char* reference = stbi_load(referencePath.c_str(), &w, &h, &channels, 3);
    if (!reference || w != width || h != height) {
        printf("%s: no %d x %d picture in %s\n", name, width, height, compareDir.c_str());
        stbi_image_free(reference);
        return 1;
    }
    // Compared at the golden shots' size, SHOT_SCALE_DOWN times smaller than the window, so that
    // the tolerance means what it means there. Both are top row first; shrinking turns both over.
    int factor = std::max(1, SHOT_SCALE_DOWN / windowShare);
    std::vector<unsigned char> shotSmall, referenceSmall;
    scaleDownShot(view.data(), width, height, factor, shotSmall);
    scaleDownShot(reference, width, height, factor, referenceSmall);
    stbi_image_free(reference);
    ShotDifference d =
        compareShots(shotSmall.data(), referenceSmall.data(), width / factor, height / factor);
    printf("%s: mean difference %.3f, %.4f %% of pixels off, %d together%s\n", name,
           d.meanDifference, 100.0 * d.shareOff, d.largestCluster, d.matches() ? "" : "  MISMATCH");
    return d.matches() ? 0 : 1;
}

int writePassViews(const std::string& outDir, int scaleDown, const std::string& compareDir) {
    std::vector<unsigned char> frame, depth, unshadowed, shadowed, acne;
    readWindow(frame);
    renderDepthPass();
    readDepthMap(depth);
    drawLitPassWith(unshadowedProgram, -1);
    readWindow(unshadowed);
    drawLitPassWith(shadowProgram, shadowMapUniform);
    readWindow(shadowed);
    drawLitPassWith(noBiasProgram, noBiasShadowMapUniform);
    readWindow(acne);
    // The depth map has SHADOW_MAP_SCALE texels per window pixel side.
    const unsigned char* rows[PASS_VIEW_COUNT] = {depth.data(), unshadowed.data(), shadowed.data(),
                                                  frame.data(), acne.data()};
    int failures = 0;
    for (int i = 0; i < PASS_VIEW_COUNT; i++) {
        // Acne is a texel-sized pattern that shrinking would average away.
        int factor = i == 0 ? scaleDown * SHADOW_MAP_SCALE : i == ACNE_VIEW ? 1 : scaleDown;
        int width = i == 0 ? shadowMapWidth : windowWidth;
        int height = i == 0 ? shadowMapHeight : windowHeight;
        failures += writeView(outDir, compareDir, PASS_VIEW_NAMES[i], rows[i], width, height,
                              factor, i == ACNE_VIEW ? 1 : scaleDown);
    }
    return failures;
}
