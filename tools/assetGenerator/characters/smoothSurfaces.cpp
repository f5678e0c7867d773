#include "smoothSurfaces.h"

#include <cmath>

// ---- helpers ----
static float mirroredU(int s, int segments);
static float lerp(float a, float b, float t);
static void normalize(float* v);

static const float PI = 3.14159265f;

static float mirroredU(int s, int segments) {
    return 1.0f - fabsf(1.0f - 2.0f * (float)s / (float)segments);
}

static float lerp(float a, float b, float t) {
    return a + (b - a) * t;
}

static void normalize(float* v) {
    float length = sqrtf(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length > 0) {
        v[0] /= length;
        v[1] /= length;
        v[2] /= length;
    }
}

void makeSmoothLathe(ModelMesh& out, const std::vector<float>& radii,
                     const std::vector<float>& heights, int segments, UvRect uv) {
    int rings = (int)radii.size();
    std::vector<int> ringStart(rings);
    for (int r = 0; r < rings; r++) {
        float v = lerp(uv.v0, uv.v1, rings > 1 ? (float)r / (rings - 1) : 0);
        ringStart[r] = (int)out.vertices.size();
        if (radii[r] == 0) {
            addVertex(out, 0, heights[r], 0, lerp(uv.u0, uv.u1, 0.5f), v);
            continue;
        }
        for (int s = 0; s < segments; s++) {
            // s = 0 at the back (-z), s = segments / 2 at the front (+z).
            float a = 2 * PI * s / segments;
            addVertex(out, radii[r] * sinf(a), heights[r], -radii[r] * cosf(a),
                      lerp(uv.u0, uv.u1, mirroredU(s, segments)), v);
        }
    }
    for (int r = 0; r + 1 < rings; r++) {
        int a = ringStart[r], b = ringStart[r + 1];
        if (radii[r] == 0 && radii[r + 1] == 0)
            continue;
        for (int s = 0; s < segments; s++) {
            int next = (s + 1) % segments;
            if (radii[r] == 0)
                addTriangle(out, a, b + s, b + next);
            else if (radii[r + 1] == 0)
                addTriangle(out, a + s, b, a + next);
            else
                addQuad(out, a + s, b + s, b + next, a + next);
        }
    }
}

void makeSmoothTube(ModelMesh& out, const std::vector<float>& points,
                    const std::vector<float>& radii, int segments, UvRect uv) {
    int n = (int)radii.size();
    if (n < 2)
        return;
    std::vector<float> frames; // per point: side then up, 6 floats
    float side[3] = {0, 0, 0};
    for (int i = 0; i < n; i++) {
        int i0 = i > 0 ? i - 1 : i, i1 = i + 1 < n ? i + 1 : i;
        float d[3] = {points[i1 * 3] - points[i0 * 3], points[i1 * 3 + 1] - points[i0 * 3 + 1],
                      points[i1 * 3 + 2] - points[i0 * 3 + 2]};
        normalize(d);
        if (i == 0) {
            // Start from the direction least parallel to the tube.
            float ref[3] = {0, 0, 0};
            ref[fabsf(d[0]) < 0.6f ? 0 : 2] = 1;
            side[0] = ref[1] * d[2] - ref[2] * d[1];
            side[1] = ref[2] * d[0] - ref[0] * d[2];
            side[2] = ref[0] * d[1] - ref[1] * d[0];
        }
        // Keep the side vector perpendicular to the direction, turning as little as possible.
        float along = side[0] * d[0] + side[1] * d[1] + side[2] * d[2];
        for (int k = 0; k < 3; k++)
            side[k] -= along * d[k];
        normalize(side);
        float up[3] = {d[1] * side[2] - d[2] * side[1], d[2] * side[0] - d[0] * side[2],
                       d[0] * side[1] - d[1] * side[0]};
        frames.insert(frames.end(), {side[0], side[1], side[2], up[0], up[1], up[2]});
    }
    auto ringPoint = [&](int i, int s, float* p) {
        float a = 2 * PI * s / segments;
        const float* f = &frames[i * 6];
        for (int k = 0; k < 3; k++)
            p[k] = points[i * 3 + k] + radii[i] * (cosf(a) * f[k] + sinf(a) * f[3 + k]);
    };
    int base = (int)out.vertices.size();
    for (int i = 0; i < n; i++) {
        float v = lerp(uv.v0, uv.v1, (float)i / (n - 1));
        for (int s = 0; s < segments; s++) {
            float p[3];
            ringPoint(i, s, p);
            addVertex(out, p[0], p[1], p[2], lerp(uv.u0, uv.u1, mirroredU(s, segments)), v);
        }
    }
    // Ring i to ring i + 1 winds outward since up = direction x side.
    for (int i = 0; i + 1 < n; i++) {
        int a = base + i * segments, b = a + segments;
        for (int s = 0; s < segments; s++) {
            int next = (s + 1) % segments;
            addQuad(out, a + s, a + next, b + next, b + s);
        }
    }
    // Caps have their own vertices so the wall's normals stay round.
    for (int end = 0; end < 2; end++) {
        int i = end == 0 ? 0 : n - 1;
        float vc = end == 0 ? uv.v0 : uv.v1;
        int centre = addVertex(out, points[i * 3], points[i * 3 + 1], points[i * 3 + 2],
                               lerp(uv.u0, uv.u1, 0.5f), vc);
        int first = (int)out.vertices.size();
        for (int s = 0; s < segments; s++) {
            float p[3];
            ringPoint(i, s, p);
            addVertex(out, p[0], p[1], p[2], lerp(uv.u0, uv.u1, mirroredU(s, segments)), vc);
        }
        for (int s = 0; s < segments; s++) {
            int next = first + (s + 1) % segments;
            if (end == 0)
                addTriangle(out, centre, next, first + s);
            else
                addTriangle(out, centre, first + s, next);
        }
    }
}
