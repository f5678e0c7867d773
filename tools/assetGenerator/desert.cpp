// The sand: a height-field grid over the whole scene, and its tiling sand texture.
#include <cmath>

#include "assetCatalog.h"
#include "terrain.h"
#include "texturePaint.h"

static const int GRID_X = 56, GRID_Z = 44; // cells; two triangles each
static const float TEXTURE_TILE = 90;      // world units per repeat of desert.bmp

void buildDesertModel(ModelMesh& mesh) {
    ModelMesh world;
    for (int j = 0; j <= GRID_Z; j++) {
        float z = DESERT_MIN_Z + (DESERT_MAX_Z - DESERT_MIN_Z) * j / GRID_Z;
        for (int i = 0; i <= GRID_X; i++) {
            float x = DESERT_MIN_X + (DESERT_MAX_X - DESERT_MIN_X) * i / GRID_X;
            addVertex(world, x, sandHeight(x, z), z, x / TEXTURE_TILE, -z / TEXTURE_TILE);
        }
    }
    for (int j = 0; j < GRID_Z; j++) {
        for (int i = 0; i < GRID_X; i++) {
            int a = j * (GRID_X + 1) + i; // (x0, z0)
            int b = a + 1;                // (x1, z0)
            int d = a + GRID_X + 1;       // (x0, z1)
            int c = d + 1;                // (x1, z1)
            // Seen from above (+y) with z toward the viewer, a, d, c, b runs counter-clockwise.
            addQuad(world, a, d, c, b);
        }
    }
    appendMesh(mesh, world, worldToZUpRow(-10, 20, -150, 90));
}

void paintDesertTexture(Image& image) {
    const Rgb sand = {0.86f, 0.70f, 0.47f}, shade = {0.66f, 0.49f, 0.30f};
    const Rgb pale = {0.95f, 0.84f, 0.63f};
    for (int y = 0; y < image.height; y++) {
        for (int x = 0; x < image.width; x++) {
            float u = (float)x / image.width, v = (float)y / image.height;
            // Wind ripples: wavy bands, a few per tile, with soft fronts.
            float warp = tileNoise(u, v, 4, 3, 11);
            float ripple = sinf((u * 2 + v * 14 + warp * 1.5f) * 6.2831853f);
            float patches = tileNoise(u, v, 8, 4, 12);
            float grain = tileNoise(u, v, 128, 2, 13);
            Rgb c = rgbMix(sand, shade, 0.35f + 0.25f * patches + 0.2f * ripple);
            c = rgbMix(c, pale, 0.2f * smoothStep(0.6f, 1.0f, ripple));
            c = rgbScale(c, 1 + 0.12f * grain);
            imagePut(image, x, y, c);
        }
    }
}
