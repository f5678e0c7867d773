// The fountain's two 256 x 256 images: a soft round glow and the disc that masks it.
#include <cmath>

#include "assetCatalog.h"
#include "texturePaint.h"

// ---- helpers ----
static float radiusAt(const Image& image, int x, int y);

// 0 at the centre, 1 at the middle of each edge.
static float radiusAt(const Image& image, int x, int y) {
    float cx = (image.width - 1) / 2.0f, cy = (image.height - 1) / 2.0f;
    return hypotf((x - cx) / (image.width / 2.0f), (y - cy) / (image.height / 2.0f));
}

void paintParticleMask(Image& image) {
    for (int y = 0; y < image.height; y++) {
        for (int x = 0; x < image.width; x++) {
            float a = 1 - smoothStep(0.55f, 0.95f, radiusAt(image, x, y));
            imageSet(image, x, y, a, a, a);
        }
    }
}

void paintParticleGlow(Image& image) {
    for (int y = 0; y < image.height; y++) {
        for (int x = 0; x < image.width; x++) {
            float r = radiusAt(image, x, y);
            float core = 1 - smoothStep(0.0f, 0.9f, r);
            float glow = core * core;
            // Warm: white at the heart, amber toward the edge, black beyond.
            Rgb c = rgbMix(Rgb{1.0f, 0.55f, 0.15f}, Rgb{1.0f, 0.97f, 0.85f}, core);
            imagePut(image, x, y, rgbScale(c, glow));
        }
    }
}
