#include "figureBody.h"

#include "figureAtlas.h"
#include "smoothSurfaces.h"

#include <cmath>

// ---- helpers ----
static float catmullRom(float p0, float p1, float p2, float p3, float t);
static void addHead(ModelMesh& out);
static void addLeg(const FigureShape& shape, ModelMesh& out);
static void addArm(const FigureShape& shape, ModelMesh& out);

static const float PI = 3.14159265f;

static float catmullRom(float p0, float p1, float p2, float p3, float t) {
    float t2 = t * t, t3 = t2 * t;
    return 0.5f * (2 * p1 + (p2 - p0) * t + (2 * p0 - 5 * p1 + 4 * p2 - p3) * t2 +
                   (3 * p1 - p0 - 3 * p2 + p3) * t3);
}

void addOvalLathe(ModelMesh& out, const std::vector<float>& radii,
                  const std::vector<float>& heights, int segments, float widthX, float depthZ,
                  Point3 centre, UvRect uv) {
    ModelMesh lathe;
    makeSmoothLathe(lathe, radii, heights, segments, uv);
    Xform xf =
        xformThen(xformScale(widthX, 1, depthZ), xformTranslate(centre.x, centre.y, centre.z));
    appendMesh(out, lathe, xf);
}

void addOrientedEllipsoid(ModelMesh& out, Point3 radii, float pitch, float yaw, Point3 centre,
                          int slices, int stacks, UvRect uv) {
    std::vector<float> ringRadii, heights;
    for (int i = 0; i <= stacks; i++) {
        float phi = -PI / 2 + PI * i / stacks;
        ringRadii.push_back(i == 0 || i == stacks ? 0.0f : cosf(phi));
        heights.push_back(sinf(phi));
    }
    ModelMesh unit;
    makeSmoothLathe(unit, ringRadii, heights, slices, uv);
    Xform xf = xformThen(xformScale(radii.x, radii.y, radii.z), xformRotateX(pitch));
    xf = xformThen(xformThen(xf, xformRotateY(yaw)), xformTranslate(centre.x, centre.y, centre.z));
    appendMesh(out, unit, xf);
}

void addLimb(ModelMesh& out, const std::vector<Point3>& joints, const std::vector<float>& radii,
             int stepsPerSpan, int segments, UvRect uv) {
    int count = (int)joints.size();
    std::vector<float> points, ringRadii;
    for (int span = 0; span + 1 < count; span++) {
        int i0 = span > 0 ? span - 1 : 0, i1 = span, i2 = span + 1;
        int i3 = span + 2 < count ? span + 2 : count - 1;
        int steps = span + 2 == count ? stepsPerSpan + 1 : stepsPerSpan;
        for (int step = 0; step < steps; step++) {
            float t = (float)step / stepsPerSpan;
            const Point3 &a = joints[i0], &b = joints[i1], &c = joints[i2], &d = joints[i3];
            points.push_back(catmullRom(a.x, b.x, c.x, d.x, t));
            points.push_back(catmullRom(a.y, b.y, c.y, d.y, t));
            points.push_back(catmullRom(a.z, b.z, c.z, d.z, t));
            float r = catmullRom(radii[i0], radii[i1], radii[i2], radii[i3], t);
            ringRadii.push_back(r > 0.02f ? r : 0.02f);
        }
    }
    makeSmoothTube(out, points, ringRadii, segments, uv);
}

void mirrorAcrossX(ModelMesh& mesh, int firstVertex, int firstFace) {
    int vertexEnd = (int)mesh.vertices.size(), faceEnd = (int)mesh.faces.size();
    int offset = vertexEnd - firstVertex;
    for (int i = firstVertex; i < vertexEnd; i++) {
        MeshVertex v = mesh.vertices[i];
        v.x = -v.x;
        mesh.vertices.push_back(v);
    }
    // A mirror turns the winding around; swapping two corners turns it back.
    for (int i = firstFace; i < faceEnd; i++) {
        MeshFace f = mesh.faces[i];
        addTriangle(mesh, f.a + offset, f.c + offset, f.b + offset);
    }
}

void addHat(ModelMesh& out, const HatShape& shape, float baseY, UvRect uv) {
    float midV = (uv.v0 + uv.v1) / 2;
    UvRect brimUv = {uv.u0, uv.v0, uv.u1, midV}, crownUv = {uv.u0, midV, uv.u1, uv.v1};
    ModelMesh hat;
    float r = shape.brimRadius;
    addOvalLathe(hat, {0, r * 0.96f, r, r * 0.96f, 0}, {-0.05f, -0.05f, 0, 0.05f, 0.05f}, 32, 0.92f,
                 1.0f, {0, 0, 0}, brimUv);
    // Curl the brim's sides up and let the front and back dip a little.
    for (MeshVertex& v : hat.vertices) {
        float sx = v.x / r, sz = v.z / r;
        v.y += shape.brimCurl * sx * sx * sx * sx * 1.6f - 0.12f * sz * sz;
    }
    float c = shape.crownRadius, h = shape.crownHeight;
    addOvalLathe(hat, {0, c, c * 0.99f, c * 0.95f, c * 0.88f, c * 0.6f, 0},
                 {0, 0, h * 0.45f, h * 0.85f, h, h - shape.dent * 0.6f, h - shape.dent}, 24, 0.9f,
                 1.08f, {0, -0.04f, 0}, crownUv);
    // Pushed back on the head a little.
    Xform xf = xformThen(xformRotateX(-shape.tilt), xformTranslate(0, baseY, -0.05f));
    appendMesh(out, hat, xf);
}

static void addHead(ModelMesh& out) {
    const int STACKS = 14;
    std::vector<float> radii, heights;
    for (int i = 0; i <= STACKS; i++) {
        float phi = -PI / 2 + PI * i / STACKS;
        float narrowJaw = 1.0f - 0.16f * fmaxf(0.0f, -sinf(phi));
        radii.push_back(i == 0 || i == STACKS ? 0.0f : cosf(phi) * narrowJaw);
        heights.push_back(sinf(phi) * 0.92f);
    }
    int headStart = (int)out.vertices.size();
    addOvalLathe(out, radii, heights, 20, 0.72f, 0.82f, {0, FIGURE_HEAD_Y, 0.05f},
                 figureUv(PART_FACE));
    // From an egg to a skull: the chin comes forward, the crown swells backward and the nape
    // tucks in toward the neck.
    for (size_t i = headStart; i < out.vertices.size(); i++) {
        MeshVertex& v = out.vertices[i];
        float up = (v.y - FIGURE_HEAD_Y) / 0.92f, forward = (v.z - 0.05f) / 0.82f;
        if (forward > 0)
            v.z += 0.08f * forward * smoothStep(-0.2f, -0.7f, up);
        else
            v.z += 0.1f * forward * smoothStep(-0.5f, 0.1f, up) -
                   0.12f * forward * smoothStep(-0.3f, -0.9f, up);
    }
    UvRect skin = figureUv(PART_SKIN);
    addOrientedEllipsoid(out, {0.08f, 0.15f, 0.1f}, 18, 0, {0, FIGURE_HEAD_Y - 0.14f, 0.86f}, 8, 5,
                         skin);
    int firstVertex = (int)out.vertices.size(), firstFace = (int)out.faces.size();
    addOrientedEllipsoid(out, {0.07f, 0.2f, 0.13f}, -10, 0, {0.7f, FIGURE_HEAD_Y - 0.04f, -0.02f},
                         6, 5, skin);
    mirrorAcrossX(out, firstVertex, firstFace);
    addOvalLathe(out, {0, 0.36f, 0.33f, 0.31f, 0}, {10.5f, 10.55f, 11.1f, 11.6f, 11.65f}, 14, 1.0f,
                 1.05f, {0, 0, 0}, skin);
}

static void addLeg(const FigureShape& shape, ModelMesh& out) {
    float k = shape.limbScale;
    addLimb(out,
            {{0.5f, 0.45f, -0.02f},
             {0.5f, 2.0f, -0.06f},
             {0.52f, FIGURE_KNEE_Y, 0.04f},
             {0.58f, 5.0f, 0.02f},
             {0.6f, FIGURE_HIP_Y, 0}},
            {0.25f * k, 0.42f * k, 0.35f * k, 0.52f * k, 0.6f * k}, 2, 12, figureUv(PART_LEGS));
    addOvalLathe(out, {0, 0.92f, 1, 0.95f, 0.75f, 0.4f, 0},
                 {0, 0, 0.18f, 0.38f, 0.55f, 0.66f, 0.68f}, 12, 0.34f, 0.78f, {0.5f, 0, 0.22f},
                 figureUv(PART_SHOES));
}

static void addArm(const FigureShape& shape, ModelMesh& out) {
    float k = shape.limbScale, sx = shape.shoulderRadius;
    Point3 wrist = {sx + 0.42f, 6.45f, 0.22f};
    addLimb(out,
            {{sx - 0.12f, 10.15f, 0},
             {sx + 0.08f, 9.15f, -0.06f},
             {sx + 0.25f, 8.15f, -0.1f},
             {sx + 0.35f, 7.3f, 0.05f},
             wrist},
            {0.42f * k, 0.36f * k, 0.29f * k, 0.31f * k, 0.21f * k}, 2, 10, figureUv(PART_SLEEVE));
    // The shoulder takes the sleeve's top band so that rolled-up or bare arms keep a clothed
    // shoulder.
    UvRect sleeve = figureUv(PART_SLEEVE);
    UvRect shoulder = {sleeve.u0, sleeve.v0, sleeve.u1,
                       sleeve.v0 + 0.08f * (sleeve.v1 - sleeve.v0)};
    addOrientedEllipsoid(out, {0.44f * k, 0.44f * k, 0.42f * k}, 0, 0, {sx - 0.1f, 10.1f, 0}, 8, 6,
                         shoulder);
    UvRect skin = figureUv(PART_SKIN);
    addOrientedEllipsoid(out, {0.14f, 0.5f, 0.28f}, -8, 0,
                         {wrist.x + 0.05f, wrist.y - 0.48f, wrist.z + 0.05f}, 8, 6, skin);
    addOrientedEllipsoid(out, {0.08f, 0.22f, 0.09f}, -35, 0,
                         {wrist.x - 0.04f, wrist.y - 0.3f, wrist.z + 0.25f}, 6, 4, skin);
}

void buildFigureBody(const FigureShape& shape, ModelMesh& out) {
    float h = shape.hipRadius, w = shape.waistRadius, c = shape.chestRadius,
          s = shape.shoulderRadius;
    int torsoStart = (int)out.vertices.size();
    addOvalLathe(out,
                 {0, 0.7f, h * 0.95f, h, h * 0.96f, w, (w + c) / 2, c * 0.97f, c, c, c, s,
                  s * 0.72f, 0.42f, 0},
                 {5.75f, 5.85f, 6.25f, 6.75f, 7.3f, FIGURE_WAIST_Y, 8.65f, 9.0f, 9.3f, 9.6f, 9.85f,
                  FIGURE_SHOULDER_Y - 0.05f, 10.7f, 10.95f, 11.05f},
                 20, 1, FIGURE_TORSO_DEPTH, {0, 0, 0}, figureUv(PART_TORSO));
    // A bust pushes the front of the chest out smoothly, keeping one surface and its texture.
    for (size_t i = torsoStart; i < out.vertices.size() && shape.bust > 0; i++) {
        MeshVertex& v = out.vertices[i];
        float across = (fabsf(v.x) - c * 0.42f) / 0.45f, up = (v.y - 9.25f) / 0.5f;
        float front = fmaxf(0.0f, v.z) / (c * FIGURE_TORSO_DEPTH);
        v.z += shape.bust * expf(-(across * across + up * up)) * front;
    }
    addHead(out);
    int firstVertex = (int)out.vertices.size(), firstFace = (int)out.faces.size();
    addLeg(shape, out);
    addArm(shape, out);
    mirrorAcrossX(out, firstVertex, firstFace);
}

void addBootHeels(ModelMesh& out, float heelHeight) {
    int firstVertex = (int)out.vertices.size(), firstFace = (int)out.faces.size();
    ModelMesh heel;
    makeBox(heel, 0.5f, heelHeight, 0.42f, figureUv(PART_SHOES));
    appendMesh(out, heel, xformTranslate(0.5f, heelHeight / 2, -0.3f));
    mirrorAcrossX(out, firstVertex, firstFace);
}

void addNeckerchief(ModelMesh& out, UvRect uv) {
    addOvalLathe(out, {0, 0.44f, 0.47f, 0.42f, 0}, {10.84f, 10.86f, 10.97f, 11.1f, 11.12f}, 14,
                 1.0f, 1.05f, {0, 0, 0}, uv);
    // The knot and the tip hanging over the chest.
    addOrientedEllipsoid(out, {0.16f, 0.12f, 0.1f}, 0, 0, {0, 10.9f, 0.5f}, 8, 6, uv);
    addOrientedEllipsoid(out, {0.22f, 0.3f, 0.06f}, -30, 0, {0, 10.6f, 0.78f}, 8, 4, uv);
}
