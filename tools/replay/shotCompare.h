#pragma once
// Reference shots of the replay: each captured frame shrunk by box averaging (which also evens
// out a pixel or two of rasterisation difference) and compared with its reference by the mean
// absolute difference and the share of pixels off by more than a threshold.
#include <vector>

const int SHOT_SCALE_DOWN = 4; // 640 x 480 frames give 160 x 120 references
// A pixel is off when one of its channels differs by more than this (0..255).
const int SHOT_PIXEL_THRESHOLD = 32;
// A shot matches its reference when both figures stay within these.
// Repeated runs, and Wine on the same renderer, differ by nothing; the smallest planted fault
// measured (a small model left out) gives 1.3 and 1.4 %, so these leave room both ways.
const double SHOT_MAX_MEAN_DIFFERENCE = 0.5; // per channel, 0..255
const double SHOT_MAX_SHARE_OFF = 0.005;     // of the shot's pixels
// A small thing in the wrong place (an object moved, a move run the wrong way) changes few pixels,
// but they lie together: no group of touching pixels off may be larger than this. Its pixels
// are 4 x 4 frame pixels each; the same renderer gives none at all.
const int SHOT_MAX_CLUSTER = 6; // pixels of the shot

struct ShotDifference {
    double meanDifference; // mean absolute difference per channel, 0..255
    double shareOff;       // share of pixels off by more than SHOT_PIXEL_THRESHOLD
    int largestCluster;    // pixels off in the largest group that touch, diagonals included
    bool matches() const {
        return meanDifference <= SHOT_MAX_MEAN_DIFFERENCE && shareOff <= SHOT_MAX_SHARE_OFF &&
               largestCluster <= SHOT_MAX_CLUSTER;
    }
};

// RGB frame, bottom row first as glReadPixels gives it, shrunk by `factor` in each direction
// (a partial block at the right or top edge is dropped); top row first, as PNG stores it.
void scaleDownShot(const unsigned char* rgb, int width, int height, int factor,
                   std::vector<unsigned char>& out);
// Both RGB, `width` x `height` pixels each.
ShotDifference compareShots(const unsigned char* shot, const unsigned char* reference, int width,
                            int height);
// Where they differ: the reference in grey, pixels off in red, scaled by how far off.
void diffImage(const unsigned char* shot, const unsigned char* reference, int pixels,
               std::vector<unsigned char>& out);
