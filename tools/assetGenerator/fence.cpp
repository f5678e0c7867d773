// One fence run: posts and two rails along model +x from 0 to 90, z up, bottom at z = 0.
#include <cmath>

#include "assetCatalog.h"
#include "texturePaint.h"

static const float RUN_LENGTH = 90, POST_SPACING = 15, HEIGHT = 8;
static const float POST_BURY = 4; // neighbouring rows meet on sand up to this much lower

void buildFenceModel(ModelMesh& mesh) {
    ModelMesh fence; // y up while building
    int posts = (int)(RUN_LENGTH / POST_SPACING);
    for (int i = 0; i <= posts; i++) {
        ModelMesh post;
        float tall = HEIGHT + POST_BURY;
        makeBox(post, 0.9f, tall, 0.9f, UvRect{0, 0, 0.25f, 1});
        // Posts lean a little, each its own way, as old fences do.
        Xform lean = xformThen(xformRotateZ(((i * 7) % 5 - 2) * 0.8f), xformRotateY(i * 37.0f));
        appendMesh(fence, post,
                   xformThen(lean, xformTranslate(i * POST_SPACING, tall / 2 - POST_BURY, 0)));
    }
    const float railY[] = {3.2f, 6.6f};
    for (float y : railY) {
        ModelMesh rail;
        makeBox(rail, RUN_LENGTH + 1.2f, 0.9f, 0.35f, UvRect{0.25f, 0, 6.25f, 0.25f});
        appendMesh(fence, rail, xformTranslate(RUN_LENGTH / 2, y, 0.6f));
    }
    convertYUpToZUp(fence);
    appendMesh(mesh, fence, xformIdentity());
}

void paintFenceTexture(Image& image) {
    // Sun-bleached grey wood with long cracks; the left quarter is end grain and post bark.
    for (int y = 0; y < image.height; y++) {
        for (int x = 0; x < image.width; x++) {
            float u = (float)x / image.width, v = (float)y / image.height;
            float streak = tileNoise2(u, v, 8, 64, 3, 61);
            float blotch = tileNoise(u, v, 4, 4, 62);
            Rgb c = rgbMix(Rgb{0.66f, 0.60f, 0.52f}, Rgb{0.38f, 0.33f, 0.28f},
                           0.45f + 0.35f * streak + 0.25f * blotch);
            if (fabsf(streak) < 0.02f)
                c = rgbScale(c, 0.5f); // cracks along the grain
            imagePut(image, x, y, c);
        }
    }
}
