#pragma once
// Shared by the render tests: a small hand-built scene, frame capture and the geometric facts
// (unprojection, ray casts toward the light) that image checks are derived from.
#include <vector>

#include "math/mathTypes.h"

struct CapturedFrame {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb; // bottom row first, as glReadPixels gives it
    std::vector<float> depth;       // window depth 0..1
    double projection[16];          // the frame's projection
};

// A new one-texel texture of the given grey level, opaque, with nearest filtering.
unsigned int makeFlatTexture(unsigned char grey);

// Ground square (index 0) and standing boxes, all with one white texture.
void buildTestScene();
// Adds an axis-aligned box standing on y = groundY; its table index.
int addTestBox(float x, float z, float width, float height, float depth);

// The real scene as start-up builds it, in a 640 x 480 window: the light's position given under
// the identity modelview, the table and the bitmap names starting empty.
void initSceneAsAtStart();

// True for a pixel (8-bit RGB) within 1 of the sky's clear colour in each channel.
bool isSkyPixel(const unsigned char* rgb);

// The colour of the window's back buffer as it is now; after a swap too, since Mesa's swap copies
// (the front buffer reads back empty under Xvfb).
CapturedFrame captureBackBuffer();
// Depth pass and lit pass under the current globals, read back from the window's back buffer.
CapturedFrame renderAndCapture();
// The same with the shadow lookup left out: every surface lit, the lighting otherwise unchanged.
CapturedFrame renderAndCaptureUnshadowed();

// World position of a pixel of the frame, from its depth, the projection and cameraMatrix.
Vec3f unprojectPixel(const CapturedFrame& frame, int x, int y);
// The light's eye point in world coordinates (inverse of lightMatrix applied to the origin).
Vec3f lightEyePoint();
// World-space triangles of objects 1 .. objectCount - 1, taken from the table as it is now.
void prepareShadowCasters();
// Index of the first object (from 1 on) whose triangles cut the segment from p to the light
// (as prepared), or -1.
int objectShadowing(const Vec3f& p, const Vec3f& light);

double luminance(const CapturedFrame& frame, int x, int y);
double median(std::vector<double> values);

// Ground pixels of a frame sorted by what the geometry says about them: which object stands
// between them and the light, judged by ray casts on the CPU, not by the shadow map. The ground
// is object 0; one sample every `step` pixels, soft edges (neighbours that disagree) left out.
struct GroundSample {
    int x, y;
    int shadowedBy; // object index, or -1 when the light reaches it
};
std::vector<GroundSample> classifyGround(const CapturedFrame& frame, int step = 3);

// Luminance of the ground shadowed by `caster` (any object for ANY_CASTER) and of the lit ground
// within 40 pixels of that shadow's bounding box.
struct ShadowAndLit {
    std::vector<double> shadowed, lit;
};
const int ANY_CASTER = 0;
ShadowAndLit shadowAndLitGround(const CapturedFrame& frame,
                                const std::vector<GroundSample>& samples, int caster);

const float TEST_GROUND_Y = 20.0f;
