#pragma once
// The pass views' pictures computed from pixels and distances, without GL.
#include <vector>

// The depth map's stretch: the eye distances from the light that black and white stand for.
struct DepthStretch {
    double nearest, farthest; // units from the light
};

// The share of window pixels that differ at all between the unshadowed and shadowed passes.
double shadowedShare(const std::vector<unsigned char>& unshadowed,
                     const std::vector<unsigned char>& shadowed);
// Red where they differ (by the largest channel's difference, times 4), over `unshadowed` in a
// dimmed grey; both RGB of `pixels` pixels.
void differenceImage(const unsigned char* unshadowed, const unsigned char* shadowed, int pixels,
                     std::vector<unsigned char>& out);
// Eye distances from the light (negative: nothing drawn there) as grey RGB, near dark: stretched
// between the nearest and farthest hundredth of the drawn texels, which saturate; undrawn white.
void distanceToGrey(const std::vector<float>& distance, std::vector<unsigned char>& out,
                    DepthStretch& stretch);
