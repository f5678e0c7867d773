#include "render/passViewImages.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "render/renderPasses.h"

void distanceToGrey(const std::vector<float>& distance, std::vector<unsigned char>& out,
                    DepthStretch& stretch) {
    std::vector<float> drawn;
    for (float d : distance)
        if (d >= 0.0f)
            drawn.push_back(d);
    // The nearest and farthest hundredth of the drawn texels saturate, so a few stray texels
    // cannot flatten the rest.
    stretch = {NEAR_PLANE, FAR_PLANE};
    if (!drawn.empty()) {
        size_t low = drawn.size() / 100, high = drawn.size() - 1 - drawn.size() / 100;
        std::nth_element(drawn.begin(), drawn.begin() + low, drawn.end());
        stretch.nearest = drawn[low];
        std::nth_element(drawn.begin(), drawn.begin() + high, drawn.end());
        stretch.farthest = drawn[high];
    }
    double span = stretch.farthest > stretch.nearest ? stretch.farthest - stretch.nearest : 1.0;
    out.resize(distance.size() * 3);
    for (size_t i = 0; i < distance.size(); i++) {
        double share = distance[i] >= 0.0f ? (distance[i] - stretch.nearest) / span : 1.0;
        unsigned char grey =
            (unsigned char)std::lround(255.0 * std::fmin(std::fmax(share, 0.0), 1.0));
        out[3 * i] = out[3 * i + 1] = out[3 * i + 2] = grey;
    }
}

double shadowedShare(const std::vector<unsigned char>& unshadowed,
                     const std::vector<unsigned char>& shadowed) {
    size_t pixels = std::min(unshadowed.size(), shadowed.size()) / 3, differ = 0;
    for (size_t i = 0; i < pixels; i++)
        differ += unshadowed[3 * i] != shadowed[3 * i] ||
                  unshadowed[3 * i + 1] != shadowed[3 * i + 1] ||
                  unshadowed[3 * i + 2] != shadowed[3 * i + 2];
    return pixels ? (double)differ / pixels : 0.0;
}

void differenceImage(const unsigned char* unshadowed, const unsigned char* shadowed, int pixels,
                     std::vector<unsigned char>& out) {
    out.resize((size_t)pixels * 3);
    for (int i = 0; i < pixels; i++) {
        const unsigned char* a = unshadowed + (size_t)i * 3;
        const unsigned char* b = shadowed + (size_t)i * 3;
        int d = 0;
        for (int c = 0; c < 3; c++)
            d = std::max(d, std::abs(a[c] - b[c]));
        int grey = (a[0] + a[1] + a[2]) / 9;
        out[(size_t)i * 3] = (unsigned char)std::min(255, grey + 4 * d);
        out[(size_t)i * 3 + 1] = out[(size_t)i * 3 + 2] = (unsigned char)grey;
    }
}
