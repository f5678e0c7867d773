#pragma once
// The frame taken apart, one pass at a time, from the scene's current state and with the demo's
// own passes: for the "How it works" page (tools/replay writes the views) and for the page's
// lesson (which shows them live). Views are RGB, window-sized, bottom row first as glReadPixels
// gives them. The lesson's other shadow settings are programs of their own: the show's
// shadowProgram never changes.
#include <GL/glew.h>
#include <string>
#include <vector>

#include "render/passViewGeometry.h"
#include "render/passViewImages.h"

enum PassView {
    VIEW_DEPTH,      // the light's depth map as grey, distance from the light stretched, near dark
    VIEW_UNSHADOWED, // the lit pass with the shadow lookup compiled out
    VIEW_SHADOWED,   // the lit pass with the setting's shadow program
    VIEW_FRAME,      // the finished frame, particles included
    VIEW_DIFFERENCE, // where the two lit passes differ: red, over the unshadowed pass dimmed
    PASS_VIEW_KINDS
};

struct ShadowSetting {
    double biasScale; // times the shipped depth bias, 0 .. MAX_BIAS_SCALE
    bool oneTap;      // one comparison at the texel instead of the 4 x 4 grid
};
const ShadowSetting SHIPPED_SHADOWS = {1.0, false};
const double MAX_BIAS_SCALE = 4.0;
const double BIAS_SCALE_STEP = 0.25; // settings are kept to this step: 17 scales, 34 programs

// The fragment shader's text with the setting applied: each bias constant times biasScale, and
// ONE_TAP defined for one tap. False, after saying why, when a bias constant is missing or the
// scale lies outside 0 .. MAX_BIAS_SCALE.
bool shadowShaderText(const std::string& source, const ShadowSetting& setting, std::string& out);
// The lit pass's program for a setting (its bias scale rounded to BIAS_SCALE_STEP), built from the
// working directory's shader files on first use and kept for the run; 0 after saying why when it
// cannot be made.
GLhandleARB shadowVariant(const ShadowSetting& setting);
// Builds the programs every view needs (the unshadowed pass, the depth picture); needs the
// scene initialised. False after saying why.
bool preparePassViews();

// Draws the view into the back buffer with the given shadow program (0: the show's own) and
// reads it back into out. The depth view also reports its stretch.
void drawPassView(PassView view, GLhandleARB shadowed, std::vector<unsigned char>& out,
                  DepthStretch* stretch);
