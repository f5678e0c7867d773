#include "modelMesh.h"

#include <cmath>

static const float PI = 3.14159265f;

// ---- helpers ----
static float uvLerp(float a, float b, float t) {
    return a + (b - a) * t;
}
static void applyXform(const Xform& xf, float& x, float& y, float& z);
static float determinant(const Xform& xf);

static void applyXform(const Xform& xf, float& x, float& y, float& z) {
    const float* m = xf.m;
    float nx = m[0] * x + m[1] * y + m[2] * z + m[3];
    float ny = m[4] * x + m[5] * y + m[6] * z + m[7];
    float nz = m[8] * x + m[9] * y + m[10] * z + m[11];
    x = nx;
    y = ny;
    z = nz;
}

static float determinant(const Xform& xf) {
    const float* m = xf.m;
    return m[0] * (m[5] * m[10] - m[6] * m[9]) - m[1] * (m[4] * m[10] - m[6] * m[8]) +
           m[2] * (m[4] * m[9] - m[5] * m[8]);
}

Xform xformIdentity() {
    return Xform{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0}};
}

Xform xformTranslate(float x, float y, float z) {
    return Xform{{1, 0, 0, x, 0, 1, 0, y, 0, 0, 1, z}};
}

Xform xformScale(float x, float y, float z) {
    return Xform{{x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, 0}};
}

Xform xformRotateX(float degrees) {
    float c = cosf(degrees * PI / 180), s = sinf(degrees * PI / 180);
    return Xform{{1, 0, 0, 0, 0, c, -s, 0, 0, s, c, 0}};
}

Xform xformRotateY(float degrees) {
    float c = cosf(degrees * PI / 180), s = sinf(degrees * PI / 180);
    return Xform{{c, 0, s, 0, 0, 1, 0, 0, -s, 0, c, 0}};
}

Xform xformRotateZ(float degrees) {
    float c = cosf(degrees * PI / 180), s = sinf(degrees * PI / 180);
    return Xform{{c, -s, 0, 0, s, c, 0, 0, 0, 0, 1, 0}};
}

Xform xformThen(const Xform& inner, const Xform& outer) {
    Xform r;
    const float* a = outer.m;
    const float* b = inner.m;
    for (int row = 0; row < 3; row++) {
        for (int col = 0; col < 4; col++) {
            float sum = a[row * 4 + 0] * b[0 * 4 + col] + a[row * 4 + 1] * b[1 * 4 + col] +
                        a[row * 4 + 2] * b[2 * 4 + col];
            if (col == 3)
                sum += a[row * 4 + 3];
            r.m[row * 4 + col] = sum;
        }
    }
    return r;
}

int addVertex(ModelMesh& mesh, float x, float y, float z, float u, float v) {
    mesh.vertices.push_back(MeshVertex{x, y, z, u, v});
    return (int)mesh.vertices.size() - 1;
}

void addTriangle(ModelMesh& mesh, int a, int b, int c) {
    mesh.faces.push_back(MeshFace{(uint16_t)a, (uint16_t)b, (uint16_t)c});
}

void addQuad(ModelMesh& mesh, int a, int b, int c, int d) {
    addTriangle(mesh, a, b, c);
    addTriangle(mesh, a, c, d);
}

void appendMesh(ModelMesh& dst, const ModelMesh& src, const Xform& xf) {
    int base = (int)dst.vertices.size();
    bool mirrored = determinant(xf) < 0;
    for (MeshVertex v : src.vertices) {
        applyXform(xf, v.x, v.y, v.z);
        dst.vertices.push_back(v);
    }
    for (const MeshFace& f : src.faces) {
        if (mirrored)
            addTriangle(dst, base + f.a, base + f.c, base + f.b);
        else
            addTriangle(dst, base + f.a, base + f.b, base + f.c);
    }
}

void convertYUpToZUp(ModelMesh& mesh) {
    for (MeshVertex& v : mesh.vertices) {
        float y = v.y;
        v.y = -v.z;
        v.z = y;
    }
}

void makeBox(ModelMesh& out, float sx, float sy, float sz, UvRect uv) {
    float hx = sx / 2, hy = sy / 2, hz = sz / 2;
    // Each face: origin corner, then the two edge directions (u, v) so that u x v points out.
    const float faces[6][9] = {
        {-hx, -hy, hz, 2 * hx, 0, 0, 0, 2 * hy, 0},  // +z
        {hx, -hy, -hz, -2 * hx, 0, 0, 0, 2 * hy, 0}, // -z
        {hx, -hy, hz, 0, 0, -2 * hz, 0, 2 * hy, 0},  // +x
        {-hx, -hy, -hz, 0, 0, 2 * hz, 0, 2 * hy, 0}, // -x
        {-hx, hy, hz, 2 * hx, 0, 0, 0, 0, -2 * hz},  // +y
        {-hx, -hy, -hz, 2 * hx, 0, 0, 0, 0, 2 * hz}, // -y
    };
    for (const float* f : faces) {
        int idx[4];
        const float corner[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        for (int k = 0; k < 4; k++) {
            float s = corner[k][0], t = corner[k][1];
            idx[k] = addVertex(out, f[0] + s * f[3] + t * f[6], f[1] + s * f[4] + t * f[7],
                               f[2] + s * f[5] + t * f[8], uvLerp(uv.u0, uv.u1, s),
                               uvLerp(uv.v0, uv.v1, t));
        }
        addQuad(out, idx[0], idx[1], idx[2], idx[3]);
    }
}

void makeLathe(ModelMesh& out, const std::vector<float>& radii, const std::vector<float>& heights,
               int segments, UvRect uv) {
    int rings = (int)radii.size();
    int base = (int)out.vertices.size();
    for (int r = 0; r < rings; r++) {
        float t = rings > 1 ? (float)r / (rings - 1) : 0;
        for (int s = 0; s <= segments; s++) {
            float a = 2 * PI * s / segments;
            // Counter-clockwise seen from +y is x toward -z: outward faces then wind CCW.
            addVertex(out, radii[r] * cosf(a), heights[r], -radii[r] * sinf(a),
                      uvLerp(uv.u0, uv.u1, (float)s / segments), uvLerp(uv.v0, uv.v1, t));
        }
    }
    for (int r = 0; r + 1 < rings; r++) {
        for (int s = 0; s < segments; s++) {
            int a = base + r * (segments + 1) + s;
            int b = a + 1;
            int c = b + segments + 1;
            int d = a + segments + 1;
            if (radii[r] == 0)
                addTriangle(out, a, c, d);
            else if (radii[r + 1] == 0)
                addTriangle(out, a, b, c);
            else
                addQuad(out, a, b, c, d);
        }
    }
}

static void addCap(ModelMesh& out, float radius, float y, int segments, bool facingUp, UvRect uv) {
    float cu = (uv.u0 + uv.u1) / 2, cv = (uv.v0 + uv.v1) / 2;
    float hu = (uv.u1 - uv.u0) / 2, hv = (uv.v1 - uv.v0) / 2;
    int centre = addVertex(out, 0, y, 0, cu, cv);
    int first = (int)out.vertices.size();
    for (int s = 0; s < segments; s++) {
        float a = 2 * PI * s / segments;
        addVertex(out, radius * cosf(a), y, -radius * sinf(a), cu + hu * cosf(a),
                  cv + hv * sinf(a));
    }
    for (int s = 0; s < segments; s++) {
        int a = first + s, b = first + (s + 1) % segments;
        if (facingUp)
            addTriangle(out, centre, a, b);
        else
            addTriangle(out, centre, b, a);
    }
}

void makeCylinder(ModelMesh& out, float radiusBottom, float radiusTop, float height, int segments,
                  UvRect uv) {
    makeLathe(out, {radiusBottom, radiusTop}, {0, height}, segments, uv);
    if (radiusBottom > 0)
        addCap(out, radiusBottom, 0, segments, false, uv);
    if (radiusTop > 0)
        addCap(out, radiusTop, height, segments, true, uv);
}

void makeEllipsoid(ModelMesh& out, float rx, float ry, float rz, int slices, int stacks,
                   UvRect uv) {
    std::vector<float> radii, heights;
    for (int i = 0; i <= stacks; i++) {
        float phi = -PI / 2 + PI * i / stacks;
        radii.push_back(i == 0 || i == stacks ? 0.0f : cosf(phi));
        heights.push_back(sinf(phi) * ry);
    }
    ModelMesh unit;
    makeLathe(unit, radii, heights, slices, uv);
    appendMesh(out, unit, xformScale(rx, 1, rz));
}

void makeTube(ModelMesh& out, const std::vector<float>& points, const std::vector<float>& radii,
              int segments, UvRect uv) {
    int n = (int)radii.size();
    if (n < 2)
        return;
    int base = (int)out.vertices.size();
    float prevSide[3] = {0, 0, 0};
    for (int i = 0; i < n; i++) {
        const float* p = &points[i * 3];
        int i0 = i > 0 ? i - 1 : i, i1 = i + 1 < n ? i + 1 : i;
        float d[3] = {points[i1 * 3] - points[i0 * 3], points[i1 * 3 + 1] - points[i0 * 3 + 1],
                      points[i1 * 3 + 2] - points[i0 * 3 + 2]};
        float len = sqrtf(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
        for (float& c : d)
            c /= len > 0 ? len : 1;
        // A side vector perpendicular to the direction, kept close to the previous one.
        float ref[3] = {prevSide[0], prevSide[1], prevSide[2]};
        if (i == 0) {
            ref[0] = fabsf(d[1]) < 0.9f ? 0 : 1;
            ref[1] = fabsf(d[1]) < 0.9f ? 1 : 0;
            ref[2] = 0;
        }
        float side[3] = {ref[1] * d[2] - ref[2] * d[1], ref[2] * d[0] - ref[0] * d[2],
                         ref[0] * d[1] - ref[1] * d[0]};
        float sl = sqrtf(side[0] * side[0] + side[1] * side[1] + side[2] * side[2]);
        for (float& c : side)
            c /= sl > 0 ? sl : 1;
        float up[3] = {d[1] * side[2] - d[2] * side[1], d[2] * side[0] - d[0] * side[2],
                       d[0] * side[1] - d[1] * side[0]};
        prevSide[0] = up[0];
        prevSide[1] = up[1];
        prevSide[2] = up[2];
        for (int s = 0; s <= segments; s++) {
            float a = 2 * PI * s / segments;
            float c = cosf(a) * radii[i], sn = sinf(a) * radii[i];
            addVertex(out, p[0] + c * side[0] + sn * up[0], p[1] + c * side[1] + sn * up[1],
                      p[2] + c * side[2] + sn * up[2], uvLerp(uv.u0, uv.u1, (float)s / segments),
                      uvLerp(uv.v0, uv.v1, (float)i / (n - 1)));
        }
    }
    for (int i = 0; i + 1 < n; i++) {
        for (int s = 0; s < segments; s++) {
            int a = base + i * (segments + 1) + s;
            int b = a + 1, d = a + segments + 1, c = d + 1;
            addQuad(out, a, b, c, d);
        }
    }
    // Caps: fans at both ends.
    for (int end = 0; end < 2; end++) {
        int i = end == 0 ? 0 : n - 1;
        const float* p = &points[i * 3];
        int centre = addVertex(out, p[0], p[1], p[2], (uv.u0 + uv.u1) / 2, (uv.v0 + uv.v1) / 2);
        int ring = base + i * (segments + 1);
        for (int s = 0; s < segments; s++) {
            if (end == 0)
                addTriangle(out, centre, ring + s + 1, ring + s);
            else
                addTriangle(out, centre, ring + s, ring + s + 1);
        }
    }
}
