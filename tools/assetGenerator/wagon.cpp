// An open plank wagon on four spoked wheels. Built y up with the axles along z, then stood in
// 3D Studio's z-up frame, where the axles lie along model y.
#include <cmath>

#include "assetCatalog.h"
#include "texturePaint.h"

// planks04.bmp: planks fill v 0.25..1, iron and dark wood the strip below.
static const UvRect PLANK_UV = {0, 0.25f, 1, 1};
static const UvRect IRON_UV = {0, 0, 0.5f, 0.25f};
static const UvRect HUB_UV = {0.5f, 0, 1, 0.25f};

static const float LENGTH = 22, WIDTH = 10, BED_Y = 5.2f;
static const int WHEEL_SEGMENTS = 24, SPOKES = 10;

// ---- helpers ----
static void addWheel(ModelMesh& mesh, float x, float z, float radius);
static void addBox(ModelMesh& mesh, float sx, float sy, float sz, float x, float y, float z,
                   UvRect uv);

static void addBox(ModelMesh& mesh, float sx, float sy, float sz, float x, float y, float z,
                   UvRect uv) {
    ModelMesh box;
    makeBox(box, sx, sy, sz, uv);
    appendMesh(mesh, box, xformTranslate(x, y, z));
}

// A wheel in the x-y plane, its hub at (x, radius, z): iron-shod rim, spokes and hub.
static void addWheel(ModelMesh& mesh, float x, float z, float radius) {
    const float thick = 0.6f, rimDepth = 0.55f;
    // Built about the y axis first (the lathe's), then turned so the axle runs along z.
    ModelMesh wheel;
    float ri = radius - rimDepth;
    // The rim's cross-section runs counter-clockwise in (radius, height) so that it faces out.
    makeLathe(wheel, {ri, radius, radius, ri, ri},
              {-thick / 2, -thick / 2, thick / 2, thick / 2, -thick / 2}, WHEEL_SEGMENTS, IRON_UV);
    for (int s = 0; s < SPOKES; s++) {
        ModelMesh spoke;
        makeBox(spoke, ri, 0.28f, 0.28f, PLANK_UV);
        appendMesh(wheel, spoke,
                   xformThen(xformTranslate(ri / 2, 0, 0), xformRotateY(360.0f * s / SPOKES)));
    }
    ModelMesh hub;
    makeCylinder(hub, 0.7f, 0.7f, thick * 2.2f, 8, HUB_UV);
    appendMesh(wheel, hub, xformTranslate(0, -thick * 1.1f, 0));
    appendMesh(mesh, wheel, xformThen(xformRotateX(90), xformTranslate(x, radius, z)));
}

void buildWagonModel(ModelMesh& mesh) {
    ModelMesh wagon;
    addBox(wagon, LENGTH, 0.8f, WIDTH, 0, BED_Y, 0, PLANK_UV); // floor
    addBox(wagon, LENGTH, 2.6f, 0.5f, 0, BED_Y + 1.7f, WIDTH / 2, PLANK_UV);
    addBox(wagon, LENGTH, 2.6f, 0.5f, 0, BED_Y + 1.7f, -WIDTH / 2, PLANK_UV);
    addBox(wagon, 0.5f, 2.6f, WIDTH, LENGTH / 2, BED_Y + 1.7f, 0, PLANK_UV);
    addBox(wagon, 0.5f, 2.6f, WIDTH, -LENGTH / 2, BED_Y + 1.7f, 0, PLANK_UV);
    const float rear = 3.6f, front = 3.0f;
    addWheel(wagon, -7.5f, WIDTH / 2 + 0.8f, rear);
    addWheel(wagon, -7.5f, -WIDTH / 2 - 0.8f, rear);
    addWheel(wagon, 7.5f, WIDTH / 2 + 0.8f, front);
    addWheel(wagon, 7.5f, -WIDTH / 2 - 0.8f, front);
    addBox(wagon, 0.5f, 0.5f, WIDTH + 1.6f, -7.5f, rear, 0, IRON_UV); // axles
    addBox(wagon, 0.5f, 0.5f, WIDTH + 1.6f, 7.5f, front, 0, IRON_UV);
    addBox(wagon, 9, 0.4f, 0.4f, LENGTH / 2 + 4.5f, 2.5f, 0, PLANK_UV); // tongue
    addBox(wagon, 0.4f, 0.4f, 5, LENGTH / 2 + 8.8f, 2.5f, 0, PLANK_UV); // doubletree
    // Bolsters between the axles and the bed.
    addBox(wagon, 1.0f, BED_Y - rear - 0.4f, WIDTH, -7.5f, (BED_Y + rear) / 2, 0, PLANK_UV);
    addBox(wagon, 1.0f, BED_Y - front - 0.4f, WIDTH, 7.5f, (BED_Y + front) / 2, 0, PLANK_UV);
    // Stakes holding the side boards, iron-capped at the corners.
    for (int i = 0; i < 5; i++) {
        float x = -LENGTH / 2 + 1 + i * (LENGTH - 2) / 4;
        for (int side = -1; side <= 1; side += 2)
            addBox(wagon, 0.5f, 3.6f, 0.3f, x, BED_Y + 1.5f, side * (WIDTH / 2 + 0.35f),
                   i == 0 || i == 4 ? IRON_UV : PLANK_UV);
    }
    // Driver's seat over the front, and the brake lever beside it.
    addBox(wagon, 2.2f, 0.5f, WIDTH - 1, LENGTH / 2 - 2.5f, BED_Y + 4.2f, 0, PLANK_UV);
    addBox(wagon, 0.5f, 2.0f, WIDTH - 1, LENGTH / 2 - 3.4f, BED_Y + 5.3f, 0, PLANK_UV);
    for (int side = -1; side <= 1; side += 2)
        addBox(wagon, 1.6f, 3.6f, 0.4f, LENGTH / 2 - 2.5f, BED_Y + 2.2f, side * (WIDTH / 2 - 1.2f),
               PLANK_UV);
    addBox(wagon, 0.3f, 5.0f, 0.3f, LENGTH / 2 - 3.5f, BED_Y + 3.0f, WIDTH / 2 + 0.8f, IRON_UV);
    convertYUpToZUp(wagon);
    appendMesh(mesh, wagon, xformIdentity());
}

void paintPlanksTexture(Image& image) {
    int split = image.height / 4;
    paintPlanks(image, 0, split, image.width, image.height, image.height / 12,
                Rgb{0.62f, 0.45f, 0.28f}, Rgb{0.33f, 0.21f, 0.12f}, 41);
    // Iron: dark grey with rust blotches; hub wood beside it.
    for (int y = 0; y < split; y++) {
        for (int x = 0; x < image.width; x++) {
            float u = (float)x / image.width, v = (float)y / image.height;
            float n = tileNoise(u, v, 16, 4, 42);
            Rgb c = x < image.width / 2 ? rgbMix(Rgb{0.22f, 0.22f, 0.24f}, Rgb{0.45f, 0.25f, 0.12f},
                                                 smoothStep(0.1f, 0.6f, n))
                                        : rgbMix(Rgb{0.40f, 0.27f, 0.15f}, Rgb{0.25f, 0.16f, 0.09f},
                                                 0.5f + 0.5f * n);
            imagePut(image, x, y, c);
        }
    }
}
