#include "shotCompare.h"

#include <cstdlib>
#include <vector>

// ---- helpers ----
static int largestChannelDifference(const unsigned char* a, const unsigned char* b);
static int largestCluster(std::vector<unsigned char>& off, int width, int height);

static int largestChannelDifference(const unsigned char* a, const unsigned char* b) {
    int largest = 0;
    for (int c = 0; c < 3; c++) {
        int d = abs(a[c] - b[c]);
        largest = d > largest ? d : largest;
    }
    return largest;
}

// Flood fill over the mask of pixels off (1), clearing what it counts.
static int largestCluster(std::vector<unsigned char>& off, int width, int height) {
    int largest = 0;
    std::vector<int> stack;
    for (int start = 0; start < width * height; start++) {
        if (!off[start])
            continue;
        int size = 0;
        off[start] = 0;
        stack.assign(1, start);
        while (!stack.empty()) {
            int at = stack.back();
            stack.pop_back();
            size++;
            int x = at % width, y = at / width;
            for (int dy = -1; dy <= 1; dy++) {
                for (int dx = -1; dx <= 1; dx++) {
                    int nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= width || ny >= height || !off[ny * width + nx])
                        continue;
                    off[ny * width + nx] = 0;
                    stack.push_back(ny * width + nx);
                }
            }
        }
        largest = size > largest ? size : largest;
    }
    return largest;
}

void scaleDownShot(const unsigned char* rgb, int width, int height, int factor,
                   std::vector<unsigned char>& out) {
    if (factor < 1)
        factor = 1;
    int w = width / factor, h = height / factor, block = factor * factor;
    out.assign((size_t)w * h * 3, 0);
    for (int y = 0; y < h; y++) {
        for (int x = 0; x < w; x++) {
            int sum[3] = {0, 0, 0};
            for (int dy = 0; dy < factor; dy++) {
                const unsigned char* row =
                    rgb + ((size_t)(y * factor + dy) * width + x * factor) * 3;
                for (int i = 0; i < factor * 3; i++)
                    sum[i % 3] += row[i];
            }
            // Bottom row first in, top row first out.
            unsigned char* pixel = out.data() + ((size_t)(h - 1 - y) * w + x) * 3;
            for (int c = 0; c < 3; c++)
                pixel[c] = (unsigned char)((sum[c] + block / 2) / block);
        }
    }
}

ShotDifference compareShots(const unsigned char* shot, const unsigned char* reference, int width,
                            int height) {
    ShotDifference result = {0.0, 0.0, 0};
    int pixels = width * height;
    if (width <= 0 || height <= 0)
        return result;
    long long total = 0;
    int off = 0;
    std::vector<unsigned char> offMask((size_t)pixels);
    for (int i = 0; i < pixels; i++) {
        const unsigned char* a = shot + (size_t)i * 3;
        const unsigned char* b = reference + (size_t)i * 3;
        for (int c = 0; c < 3; c++)
            total += abs(a[c] - b[c]);
        offMask[i] = largestChannelDifference(a, b) > SHOT_PIXEL_THRESHOLD;
        off += offMask[i];
    }
    result.meanDifference = (double)total / (3.0 * pixels);
    result.shareOff = (double)off / pixels;
    result.largestCluster = largestCluster(offMask, width, height);
    return result;
}

void diffImage(const unsigned char* shot, const unsigned char* reference, int pixels,
               std::vector<unsigned char>& out) {
    out.assign((size_t)pixels * 3, 0);
    for (int i = 0; i < pixels; i++) {
        const unsigned char* a = shot + (size_t)i * 3;
        const unsigned char* b = reference + (size_t)i * 3;
        unsigned char* pixel = out.data() + (size_t)i * 3;
        int d = largestChannelDifference(a, b);
        if (d > SHOT_PIXEL_THRESHOLD) {
            pixel[0] = (unsigned char)(128 + d / 2);
            continue;
        }
        // Dimmed so that red stands out.
        unsigned char grey = (unsigned char)((b[0] + b[1] + b[2]) / 6);
        pixel[0] = pixel[1] = pixel[2] = grey;
    }
}
