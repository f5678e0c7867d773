#include "tests/renderSceneSupportTest.h"

#include <GL/glew.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/sceneInit.h"
#include "app/window.h"
#include "math/matrix.h"
#include "math/transforms.h"
#include "render/frame.h"
#include "render/renderPasses.h"
#include "render/shaderLoading.h"
#include "render/unshadowedProgram.h"
#include "scene/sceneStore.h"
#include "scene/textureLoaders.h"

// ---- helpers ----
static GLuint whiteTexture();
static int startObject(float x, float y, float z);
static void addQuad(SceneObject& o, const Vec3f corners[4], const Vec3f& normal);
static bool segmentHitsTriangle(const Vec3f& p, const Vec3f& q, const Vec3f& a, const Vec3f& b,
                                const Vec3f& c);
static Vec3f transformPoint(const Mat4& m, const Vec3f& v);

unsigned int makeFlatTexture(unsigned char grey) {
    const unsigned char texel[4] = {grey, grey, grey, 255};
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
    return name;
}

static GLuint whiteTexture() {
    static GLuint name = 0;
    if (name == 0 || !glIsTexture(name))
        name = makeFlatTexture(255);
    return name;
}

static int startObject(float x, float y, float z) {
    int index = objectCount++;
    SceneObject& o = sceneObjects[index];
    o.vertexCount = 0;
    o.polygonCount = 0;
    o.textureId = (int)whiteTexture();
    matIdentity(o.matrix);
    objectSetPosition(o.matrix, x, y, z);
    return index;
}

// corners counter-clockwise seen from the side the normal points to.
static void addQuad(SceneObject& o, const Vec3f corners[4], const Vec3f& normal) {
    int first = o.vertexCount;
    for (int i = 0; i < 4; i++) {
        o.vertices[first + i] = corners[i];
        o.normals[first + i] = normal;
        o.texCoords[first + i] = {(i == 1 || i == 2) ? 1.0f : 0.0f, i >= 2 ? 1.0f : 0.0f};
    }
    o.vertexCount += 4;
    o.polygons[o.polygonCount++] = {first, first + 1, first + 2};
    o.polygons[o.polygonCount++] = {first, first + 2, first + 3};
}

void buildTestScene() {
    objectCount = 0;
    SceneObject& ground = sceneObjects[startObject(0.0f, TEST_GROUND_Y, 0.0f)];
    // A grid rather than one square keeps the interpolated eye positions accurate.
    const int cells = 16;
    const float from = -600.0f, size = 1200.0f / cells;
    for (int i = 0; i < cells; i++) {
        for (int j = 0; j < cells; j++) {
            float x0 = from + i * size, z0 = from + j * size;
            Vec3f corners[4] = {
                {x0, 0, z0 + size}, {x0 + size, 0, z0 + size}, {x0 + size, 0, z0}, {x0, 0, z0}};
            addQuad(ground, corners, {0, 1, 0});
        }
    }
}

int addTestBox(float x, float z, float width, float height, float depth) {
    int index = startObject(x, TEST_GROUND_Y, z);
    SceneObject& o = sceneObjects[index];
    float w = width / 2, d = depth / 2, h = height;
    const Vec3f faces[6][4] = {
        {{-w, 0, d}, {w, 0, d}, {w, h, d}, {-w, h, d}},     // +z
        {{w, 0, -d}, {-w, 0, -d}, {-w, h, -d}, {w, h, -d}}, // -z
        {{w, 0, d}, {w, 0, -d}, {w, h, -d}, {w, h, d}},     // +x
        {{-w, 0, -d}, {-w, 0, d}, {-w, h, d}, {-w, h, -d}}, // -x
        {{-w, h, d}, {w, h, d}, {w, h, -d}, {-w, h, -d}},   // +y
        {{-w, 0, -d}, {w, 0, -d}, {w, 0, d}, {-w, 0, d}},   // -y
    };
    const Vec3f normals[6] = {{0, 0, 1}, {0, 0, -1}, {1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}};
    for (int f = 0; f < 6; f++)
        addQuad(o, faces[f], normals[f]);
    return index;
}

void initSceneAsAtStart() {
    windowWidth = 640;
    windowHeight = 480;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    objectCount = 0;
    bitmapTextureCounter = -1;
    initScene();
}

CapturedFrame renderAndCaptureUnshadowed() {
    static GLhandleARB unshadowed = buildUnshadowedProgram();
    GLhandleARB savedProgram = shadowProgram;
    int savedUniform = shadowMapUniform;
    // Its samplers sit at other locations: the shadow program's ShadowMap location must not
    // re-point one of them.
    shadowProgram = unshadowed;
    shadowMapUniform = -1;
    CapturedFrame frame = renderAndCapture();
    shadowProgram = savedProgram;
    shadowMapUniform = savedUniform;
    return frame;
}

bool isSkyPixel(const unsigned char* rgb) {
    for (int i = 0; i < 3; i++)
        if (std::abs(rgb[i] - (int)std::lround(SKY_COLOUR[i] * 255)) > 1)
            return false;
    return true;
}

CapturedFrame captureBackBuffer() {
    glFinish();
    CapturedFrame frame;
    frame.width = windowWidth;
    frame.height = windowHeight;
    frame.rgb.resize((size_t)frame.width * frame.height * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, frame.width, frame.height, GL_RGB, GL_UNSIGNED_BYTE, frame.rgb.data());
    return frame;
}

CapturedFrame renderAndCapture() {
    glClearColor(SKY_COLOUR[0], SKY_COLOUR[1], SKY_COLOUR[2], SKY_COLOUR[3]);
    renderDepthPass();
    renderLitPass();
    CapturedFrame frame = captureBackBuffer();
    glGetDoublev(GL_PROJECTION_MATRIX, frame.projection);
    frame.depth.resize((size_t)frame.width * frame.height);
    glReadPixels(0, 0, frame.width, frame.height, GL_DEPTH_COMPONENT, GL_FLOAT, frame.depth.data());
    return frame;
}

Vec3f unprojectPixel(const CapturedFrame& frame, int x, int y) {
    double modelview[16];
    for (int i = 0; i < 16; i++)
        modelview[i] = cameraMatrix[i];
    GLint viewport[4] = {0, 0, frame.width, frame.height};
    double wx, wy, wz;
    gluUnProject(x + 0.5, y + 0.5, frame.depth[(size_t)y * frame.width + x], modelview,
                 frame.projection, viewport, &wx, &wy, &wz);
    return {(float)wx, (float)wy, (float)wz};
}

Vec3f lightEyePoint() {
    double view[16], inverse[16];
    for (int i = 0; i < 16; i++)
        view[i] = lightMatrix[i];
    invertMatrix(view, inverse);
    return {(float)inverse[12], (float)inverse[13], (float)inverse[14]};
}

static Vec3f transformPoint(const Mat4& m, const Vec3f& v) {
    return {m[0] * v.x + m[4] * v.y + m[8] * v.z + m[12],
            m[1] * v.x + m[5] * v.y + m[9] * v.z + m[13],
            m[2] * v.x + m[6] * v.y + m[10] * v.z + m[14]};
}

// Moller-Trumbore, restricted to the open segment p..q.
static bool segmentHitsTriangle(const Vec3f& p, const Vec3f& q, const Vec3f& a, const Vec3f& b,
                                const Vec3f& c) {
    double d[3] = {q.x - p.x, q.y - p.y, q.z - p.z};
    double e1[3] = {b.x - a.x, b.y - a.y, b.z - a.z};
    double e2[3] = {c.x - a.x, c.y - a.y, c.z - a.z};
    double h[3] = {d[1] * e2[2] - d[2] * e2[1], d[2] * e2[0] - d[0] * e2[2],
                   d[0] * e2[1] - d[1] * e2[0]};
    double det = e1[0] * h[0] + e1[1] * h[1] + e1[2] * h[2];
    if (std::fabs(det) < 1e-12)
        return false;
    double s[3] = {p.x - a.x, p.y - a.y, p.z - a.z};
    double u = (s[0] * h[0] + s[1] * h[1] + s[2] * h[2]) / det;
    if (u < 0 || u > 1)
        return false;
    double qv[3] = {s[1] * e1[2] - s[2] * e1[1], s[2] * e1[0] - s[0] * e1[2],
                    s[0] * e1[1] - s[1] * e1[0]};
    double v = (d[0] * qv[0] + d[1] * qv[1] + d[2] * qv[2]) / det;
    if (v < 0 || u + v > 1)
        return false;
    double t = (e2[0] * qv[0] + e2[1] * qv[1] + e2[2] * qv[2]) / det;
    return t > 1e-3 && t < 1.0;
}

// A run of consecutive triangles of one object with a sphere around them: a segment far from
// the sphere misses them all. Meshes list neighbouring triangles together, so runs stay small.
struct TriangleRun {
    size_t first, end; // corner indices into Caster::corners
    Vec3f centre;
    float radius;
};
struct Caster {
    std::vector<Vec3f> corners; // three per triangle, world coordinates
    std::vector<TriangleRun> runs;
    TriangleRun whole;
};
static std::vector<Caster> casters;
static const size_t TRIANGLES_PER_RUN = 32;

static TriangleRun boundRun(const std::vector<Vec3f>& corners, size_t first, size_t end) {
    Vec3f lo = {1e30f, 1e30f, 1e30f}, hi = {-1e30f, -1e30f, -1e30f};
    for (size_t k = first; k < end; k++) {
        const Vec3f& w = corners[k];
        lo = {std::fmin(lo.x, w.x), std::fmin(lo.y, w.y), std::fmin(lo.z, w.z)};
        hi = {std::fmax(hi.x, w.x), std::fmax(hi.y, w.y), std::fmax(hi.z, w.z)};
    }
    TriangleRun run = {first, end, {(lo.x + hi.x) / 2, (lo.y + hi.y) / 2, (lo.z + hi.z) / 2}, 0};
    run.radius = 0.5f * std::sqrt((hi.x - lo.x) * (hi.x - lo.x) + (hi.y - lo.y) * (hi.y - lo.y) +
                                  (hi.z - lo.z) * (hi.z - lo.z));
    return run;
}

void prepareShadowCasters() {
    casters.assign(objectCount, Caster());
    for (int i = 1; i < objectCount; i++) {
        const SceneObject& o = sceneObjects[i];
        Caster& c = casters[i];
        for (int t = 0; t < o.polygonCount; t++)
            for (int k : {o.polygons[t].a, o.polygons[t].b, o.polygons[t].c})
                c.corners.push_back(transformPoint(o.matrix, o.vertices[k]));
        c.whole = boundRun(c.corners, 0, c.corners.size());
        for (size_t first = 0; first < c.corners.size(); first += 3 * TRIANGLES_PER_RUN)
            c.runs.push_back(boundRun(c.corners, first,
                                      std::min(c.corners.size(), first + 3 * TRIANGLES_PER_RUN)));
    }
}

// Distance from the segment p..q to point c, compared with r.
static bool segmentNearPoint(const Vec3f& p, const Vec3f& q, const Vec3f& c, float r) {
    double d[3] = {q.x - p.x, q.y - p.y, q.z - p.z};
    double w[3] = {c.x - p.x, c.y - p.y, c.z - p.z};
    double len2 = d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
    double t = len2 > 0 ? (w[0] * d[0] + w[1] * d[1] + w[2] * d[2]) / len2 : 0;
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    double e[3] = {p.x + t * d[0] - c.x, p.y + t * d[1] - c.y, p.z + t * d[2] - c.z};
    return e[0] * e[0] + e[1] * e[1] + e[2] * e[2] <= (double)r * r;
}

int objectShadowing(const Vec3f& p, const Vec3f& light) {
    for (int i = 1; i < (int)casters.size(); i++) {
        const Caster& c = casters[i];
        if (c.corners.empty() || !segmentNearPoint(p, light, c.whole.centre, c.whole.radius))
            continue;
        for (const TriangleRun& run : c.runs) {
            if (!segmentNearPoint(p, light, run.centre, run.radius))
                continue;
            for (size_t t = run.first; t + 2 < run.end; t += 3) {
                if (segmentHitsTriangle(p, light, c.corners[t], c.corners[t + 1], c.corners[t + 2]))
                    return i;
            }
        }
    }
    return -1;
}

double luminance(const CapturedFrame& frame, int x, int y) {
    const unsigned char* px = &frame.rgb[((size_t)y * frame.width + x) * 3];
    return 0.299 * px[0] + 0.587 * px[1] + 0.114 * px[2];
}

double median(std::vector<double> values) {
    if (values.empty())
        return 0.0;
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

static const int NOT_CAST = -2;

std::vector<GroundSample> classifyGround(const CapturedFrame& frame, int step) {
    // Ground pixels are those where the ground alone gives the same depth as the whole scene.
    int saved = objectCount;
    objectCount = 1;
    CapturedFrame groundOnly = renderAndCapture();
    objectCount = saved;
    prepareShadowCasters();
    Vec3f light = lightEyePoint();
    std::vector<GroundSample> samples;
    // A sample and its neighbours one step away must agree; the neighbours are samples too, so
    // each ray is cast once.
    int columns = frame.width / step + 1;
    std::vector<int> cast((size_t)columns * (frame.height / step + 1), NOT_CAST);
    auto shadowAt = [&](int x, int y) {
        int& known = cast[(size_t)(y / step) * columns + x / step];
        if (known == NOT_CAST)
            known = objectShadowing(unprojectPixel(frame, x, y), light);
        return known;
    };
    for (int y = step; y < frame.height - step; y += step) {
        for (int x = step; x < frame.width - step; x += step) {
            size_t i = (size_t)y * frame.width + x;
            if (groundOnly.depth[i] >= 1.0f ||
                std::fabs(groundOnly.depth[i] - frame.depth[i]) > 1e-7f)
                continue;
            int blocker = shadowAt(x, y);
            // Keep clear cases only: the soft edge of the filter is neither lit nor shadowed.
            if (shadowAt(x - step, y) != blocker || shadowAt(x + step, y) != blocker ||
                shadowAt(x, y - step) != blocker || shadowAt(x, y + step) != blocker)
                continue;
            samples.push_back({x, y, blocker});
        }
    }
    return samples;
}

ShadowAndLit shadowAndLitGround(const CapturedFrame& frame,
                                const std::vector<GroundSample>& samples, int caster) {
    ShadowAndLit result;
    int x0 = frame.width, x1 = 0, y0 = frame.height, y1 = 0;
    for (const GroundSample& s : samples) {
        if (s.shadowedBy <= 0 || (caster != ANY_CASTER && s.shadowedBy != caster))
            continue;
        result.shadowed.push_back(luminance(frame, s.x, s.y));
        x0 = std::min(x0, s.x), x1 = std::max(x1, s.x), y0 = std::min(y0, s.y),
        y1 = std::max(y1, s.y);
    }
    const int around = 40;
    for (const GroundSample& s : samples) {
        if (s.shadowedBy == -1 && s.x > x0 - around && s.x < x1 + around && s.y > y0 - around &&
            s.y < y1 + around)
            result.lit.push_back(luminance(frame, s.x, s.y));
    }
    return result;
}
