#pragma once
// Surfaces without a texture seam: u runs from 0 at the back to 1 at the front and back to 0, so
// the two halves mirror the texture and the closing column of vertices is shared. Smooth
// normals averaged over shared vertices then stay smooth all the way round.
#include "../modelMesh.h"

#include <vector>

struct Point3 {
    float x, y, z;
};

// Lathe about +y; u = 1 faces +z. Radii and heights bottom to top; a zero radius is a pole.
// segments must be even.
void makeSmoothLathe(ModelMesh& out, const std::vector<float>& radii,
                     const std::vector<float>& heights, int segments, UvRect uv);
// Tube along a polyline (x, y, z per point), capped at both ends; segments must be even.
void makeSmoothTube(ModelMesh& out, const std::vector<float>& points,
                    const std::vector<float>& radii, int segments, UvRect uv);
