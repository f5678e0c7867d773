#include "scene/vertexNormals.h"

#include "math/vector.h"

static int l_connections_qty[MAX_VERTICES]; // triangles using each vertex; valid for one call

void computeVertexNormals(SceneObject* object) {
    // Counts from the reader never exceed the arrays; guard against records filled otherwise.
    int vertexCount = object->vertexCount < MAX_VERTICES ? object->vertexCount : MAX_VERTICES;
    int polygonCount = object->polygonCount < MAX_POLYGONS ? object->polygonCount : MAX_POLYGONS;
    Vec3f* normals = object->normals;
    const Vec3f* vertices = object->vertices;
    for (int v = 0; v < vertexCount; v++) {
        normals[v] = Vec3f{0.0f, 0.0f, 0.0f};
        l_connections_qty[v] = 0;
    }
    for (int t = 0; t < polygonCount; t++) {
        const Triangle& tri = object->polygons[t];
        if ((unsigned)tri.a >= (unsigned)MAX_VERTICES ||
            (unsigned)tri.b >= (unsigned)MAX_VERTICES || (unsigned)tri.c >= (unsigned)MAX_VERTICES)
            continue;
        Vec3f l_vect_b1, l_vect_b2, l_normal;
        vecSubtractNormalized(vertices[tri.a], vertices[tri.b], l_vect_b1);
        vecSubtractNormalized(vertices[tri.a], vertices[tri.c], l_vect_b2);
        vecCross(l_vect_b1, l_vect_b2, l_normal);
        vecNormalize(l_normal);
        const int corners[3] = {tri.a, tri.b, tri.c};
        for (int corner : corners) {
            l_connections_qty[corner]++;
            normals[corner].x += l_normal.x;
            normals[corner].y += l_normal.y;
            normals[corner].z += l_normal.z;
        }
    }
    // A plain mean of unit vectors, deliberately not renormalised: creases come out shorter.
    for (int v = 0; v < vertexCount; v++) {
        if (l_connections_qty[v] > 0) {
            float count = (float)l_connections_qty[v];
            normals[v].x /= count;
            normals[v].y /= count;
            normals[v].z /= count;
        }
    }
}
