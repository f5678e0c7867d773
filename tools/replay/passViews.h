#pragma once
// The frame taken apart at one replay shot, for the "How it works" page, written as PNGs into the
// output folder (render/passViews.h draws them):
//   pass-1-depth.png .. pass-4-frame.png  the light's depth map, the lit pass without and with the
//                                         shadow lookup, the finished frame; half the window's size
//   pass-5-difference.png                 where the two lit passes differ
//   bias-strip.png                        one close crop of the lit pass: bias 0, as shipped, 4 x
//   pcf-strip.png                         the same crop: one tap, the 4 x 4 grid
//   depth-labels.csv                      where the figures, the house and the eye lie in the depth
//                                         view, the depth picture's stretch and the lit passes'
//                                         difference, for the labelled depth map's plot
// With a compare folder each PNG is also held against that folder's file of the same name with
// the golden tolerance.
#include <string>

#include "render/passViews.h"
#include <vector>

const int PASS_VIEW_COUNT = 7;
extern const char* const PASS_VIEW_NAMES[PASS_VIEW_COUNT];
// How many times each strip enlarges the crop (render/passViewGeometry.h: stripCrop).
const int CROP_ENLARGED = 2;
const int STRIP_GAP = 6; // pixels of white between two crops

// Builds the extra programs; needs the scene initialised. False after saying why.
bool prepareReplayPassViews();
// Called with the finished frame in the back buffer, before anything else draws. Returns the
// number of views not written or not matching (compareDir empty: none compared).
int writePassViews(const std::string& outDir, int scaleDown, const std::string& compareDir);

// Crops of RGB window images (bottom row first), each CROP_ENLARGED times by repeating pixels,
// side by side with STRIP_GAP white between them; top row first, as a PNG stores it.
void stripOfCrops(const unsigned char* const* windows, int count, int windowW, int x, int y,
                  std::vector<unsigned char>& out, int& width, int& height);
