#pragma once
// A standing human body, 13 units tall, feet at y = 0, facing +z, textured through the
// figure atlas. Garments and hair are added by each character on top of it.
#include "smoothSurfaces.h"

#include <vector>

struct FigureShape {
    float hipRadius;      // half width at the hips
    float waistRadius;    // half width at the waist
    float chestRadius;    // half width at the chest
    float shoulderRadius; // half width across the shoulders
    float bust;           // how far the bust stands out from the chest, 0 for none
    float limbScale;      // thickness of arms and legs, 1 for the default
};

// Heights of the body's landmarks, for garments.
const float FIGURE_KNEE_Y = 3.5f;
const float FIGURE_HIP_Y = 6.6f;
const float FIGURE_WAIST_Y = 8.0f;
const float FIGURE_SHOULDER_Y = 10.3f;
const float FIGURE_HEAD_Y = 12.05f;     // centre of the head
const float FIGURE_TORSO_DEPTH = 0.62f; // front-to-back size relative to the width
// Where the landmarks fall in the torso cell's v (one step per profile ring).
const float TORSO_V_WAIST = 5.0f / 14;
const float TORSO_V_SHOULDER = 11.0f / 14;
// The knee and the elbow sit at v = 0.5 of the legs and sleeve cells.

void buildFigureBody(const FigureShape& shape, ModelMesh& out);
// Heels under both shoes for boots; the sole stays at y = 0.
void addBootHeels(ModelMesh& out, float heelHeight);
// A scarf knotted round the neck, textured by the given cell.
void addNeckerchief(ModelMesh& out, UvRect uv);

// Seamless lathe about +y (u = 1 faces +z), squeezed to an ellipse (widthX, depthZ) and moved
// to centre. Radii and heights from bottom to top; a zero radius closes an end.
void addOvalLathe(ModelMesh& out, const std::vector<float>& radii,
                  const std::vector<float>& heights, int segments, float widthX, float depthZ,
                  Point3 centre, UvRect uv);
// Ellipsoid with its front (u = 1) toward +z, pitched about x, then turned about y (degrees),
// then moved to centre.
void addOrientedEllipsoid(ModelMesh& out, Point3 radii, float pitch, float yaw, Point3 centre,
                          int slices, int stacks, UvRect uv);
// Smooth tube through the joints (Catmull-Rom), stepsPerSpan rings between joints.
void addLimb(ModelMesh& out, const std::vector<Point3>& joints, const std::vector<float>& radii,
             int stepsPerSpan, int segments, UvRect uv);
// Mirror copy of everything from firstVertex on, across x = 0 (for the other arm, leg...).
void mirrorAcrossX(ModelMesh& mesh, int firstVertex, int firstFace);
// Hat: a brim whose sides curl up and a dented crown, sitting on the head.
struct HatShape {
    float brimRadius;  // from the centre to the brim's edge
    float brimCurl;    // how far the brim's sides rise
    float crownRadius; // half width of the crown's base
    float crownHeight;
    float dent; // depth of the dent in the crown's top
    float tilt; // degrees pushed back on the head
};
void addHat(ModelMesh& out, const HatShape& shape, float baseY, UvRect uv);
