#pragma once
// The frame taken apart at one replay shot, for the "How it works" page. Each view is a PNG in
// the output folder, the window's size shrunk `scaleDown` times in each direction:
//   pass-1-depth.png      the light's depth map, read back from the depth texture, near dark
//   pass-2-unshadowed.png the lit pass with the shadow lookup compiled out
//   pass-3-shadowed.png   the lit pass as the frame draws it
//   pass-4-frame.png      the finished frame, particles included
//   acne.png              the lit pass with the depth bias set to 0 (shadow acne)
// The demo's own programs and passes draw every view; only the acne view compiles the fragment
// shader with its bias constants replaced.
#include <string>
#include <vector>

const int PASS_VIEW_COUNT = 5;
extern const char* const PASS_VIEW_NAMES[PASS_VIEW_COUNT];

// Builds the two extra programs from the working directory's shader files; needs the scene
// initialised. False, after saying why, when the fragment shader lacks a bias constant.
bool preparePassViews();
// Called with the finished frame in the back buffer, before anything else draws. Writes the
// views into outDir; with a non-empty compareDir also holds each against compareDir's file of the
// same name with the golden tolerance. Returns the number of views not written or not matching.
int writePassViews(const std::string& outDir, int scaleDown, const std::string& compareDir);

// The fragment shader's text with each bias constant set to 0; false when one is missing.
bool withoutDepthBias(const std::string& source, std::string& out);
// Depths 0..1 from a perspective projection (near, far) as grey RGB, near dark: the eye
// distances of the drawn texels stretched over 0..255, the nearest and farthest hundredth
// saturating; texels still at the cleared depth 1 white.
void depthToGrey(const float* depth, int texels, double nearPlane, double farPlane,
                 std::vector<unsigned char>& out);
