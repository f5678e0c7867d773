#pragma once
// Meshes built in code for the asset generator. Front faces are counter-clockwise.
#include <cstdint>
#include <vector>

struct MeshVertex {
    float x, y, z;
    float u, v;
};

struct MeshFace {
    uint16_t a, b, c;
};

struct ModelMesh {
    std::vector<MeshVertex> vertices;
    std::vector<MeshFace> faces;
};

// A texture-atlas region that a primitive's 0..1 mapping is squeezed into.
struct UvRect {
    float u0, v0, u1, v1;
};
const UvRect FULL_UV = {0.0f, 0.0f, 1.0f, 1.0f};

// Affine transform: rows of a 3x4 matrix, p' = M * (p, 1).
struct Xform {
    float m[12];
};

Xform xformIdentity();
Xform xformTranslate(float x, float y, float z);
Xform xformScale(float x, float y, float z);
Xform xformRotateX(float degrees);
Xform xformRotateY(float degrees);
Xform xformRotateZ(float degrees);
// outer applied after inner: result(p) = outer(inner(p)).
Xform xformThen(const Xform& inner, const Xform& outer);

int addVertex(ModelMesh& mesh, float x, float y, float z, float u, float v);
void addTriangle(ModelMesh& mesh, int a, int b, int c);
// Quad a, b, c, d in counter-clockwise order, split along a-c.
void addQuad(ModelMesh& mesh, int a, int b, int c, int d);
// Appends src transformed; mirroring transforms keep the winding front-facing.
void appendMesh(ModelMesh& dst, const ModelMesh& src, const Xform& xf);
// Converts a y-up mesh to z-up (3D Studio's frame): (x, y, z) -> (x, -z, y).
void convertYUpToZUp(ModelMesh& mesh);

// Primitives, y up, built into out (appended). The uv rect receives the 0..1 mapping.
// Box centred on the origin.
void makeBox(ModelMesh& out, float sx, float sy, float sz, UvRect uv);
// Surface of revolution about +y: profile points (radius, height) from bottom to top; a
// radius of 0 at either end closes it with a pole. u runs around, v along the profile.
void makeLathe(ModelMesh& out, const std::vector<float>& radii, const std::vector<float>& heights,
               int segments, UvRect uv);
// Cylinder or cone from y = 0 to y = height, closed with caps.
void makeCylinder(ModelMesh& out, float radiusBottom, float radiusTop, float height, int segments,
                  UvRect uv);
// Ellipsoid centred on the origin.
void makeEllipsoid(ModelMesh& out, float rx, float ry, float rz, int slices, int stacks, UvRect uv);
// Tube swept along a polyline with a radius per point, capped at both ends.
void makeTube(ModelMesh& out, const std::vector<float>& points, const std::vector<float>& radii,
              int segments, UvRect uv);
