// The cockatoo: white with a raised yellow crest, beak toward -z, wings a little spread.
#include "../assetCatalog.h"
#include "figureBody.h"
#include "paintBrushes.h"
#include "smoothSurfaces.h"

#include <cmath>

// ---- helpers ----
enum BirdPart {
    BIRD_BODY,
    BIRD_WING,
    BIRD_CREST,
    BIRD_BEAK,
    BIRD_EYE,
    BIRD_FEET,
    BIRD_TAIL,
    BIRD_PART_COUNT
};
static UvRect birdUv(BirdPart part);
static void addWing(ModelMesh& out);
static void addCrest(ModelMesh& out);
static void addLegs(ModelMesh& out);
static void standOnGround(ModelMesh& mesh);
static Rgb featherScales(float u, float v, int countU, float countV, float seed);

static const int BIRD_TEXTURE_SIZE = 256;
static const AtlasCell BIRD_CELLS[BIRD_PART_COUNT] = {
    {0, 128, 128, 128},   // body and head
    {128, 128, 128, 128}, // wings
    {0, 64, 64, 64},      // crest
    {64, 64, 64, 64},     // beak
    {128, 64, 64, 64},    // eyes
    {192, 64, 64, 64},    // legs and toes
    {0, 0, 128, 64},      // tail
};
static const Rgb FEATHER_WHITE = {0.95f, 0.95f, 0.93f};
static const Rgb SULPHUR = {0.98f, 0.85f, 0.25f};

static UvRect birdUv(BirdPart part) {
    return cellUv(BIRD_TEXTURE_SIZE, BIRD_CELLS[part]);
}

void buildCockatooModel(ModelMesh& mesh) {
    ModelMesh bird;
    // Body: a lathe along the flight axis, tail at +z, breast at -z, tilted nose-up.
    ModelMesh body;
    makeSmoothLathe(body, {0, 0.36f, 0.62f, 0.74f, 0.7f, 0.5f, 0},
                    {-1.45f, -1.2f, -0.6f, 0.1f, 0.65f, 1.05f, 1.22f}, 16, birdUv(BIRD_BODY));
    Xform lying = xformThen(xformScale(0.88f, 1, 1), xformRotateX(-90));
    appendMesh(bird, body,
               xformThen(xformThen(lying, xformRotateX(18)), xformTranslate(0, 1.55f, 0)));
    addOrientedEllipsoid(bird, {0.52f, 0.55f, 0.56f}, 0, 180, {0, 2.2f, -1.08f}, 12, 8,
                         birdUv(BIRD_BODY));
    // Hooked upper bill and a small lower bill.
    addLimb(bird, {{0, 2.3f, -1.42f}, {0, 2.22f, -1.72f}, {0, 1.98f, -1.86f}, {0, 1.84f, -1.78f}},
            {0.22f, 0.16f, 0.08f, 0.03f}, 2, 6, birdUv(BIRD_BEAK));
    addOrientedEllipsoid(bird, {0.14f, 0.1f, 0.17f}, 20, 0, {0, 2.02f, -1.52f}, 6, 4,
                         birdUv(BIRD_BEAK));
    int firstVertex = (int)bird.vertices.size(), firstFace = (int)bird.faces.size();
    addOrientedEllipsoid(bird, {0.08f, 0.1f, 0.1f}, 0, 0, {0.42f, 2.33f, -1.25f}, 6, 4,
                         birdUv(BIRD_EYE));
    addWing(bird);
    addLegs(bird);
    mirrorAcrossX(bird, firstVertex, firstFace);
    addCrest(bird);
    // Tail fanning back and down.
    addOrientedEllipsoid(bird, {0.42f, 0.07f, 0.95f}, 22, 0, {0, 1.0f, 1.75f}, 10, 6,
                         birdUv(BIRD_TAIL));
    standOnGround(bird);
    appendMesh(mesh, bird, xformIdentity());
}

static void addWing(ModelMesh& out) {
    // A tapered blade from the shoulder out to a pointed hand, flattened, raised and swept back.
    ModelMesh wing;
    makeSmoothTube(wing, {0, 0, 0, 0.7f, 0, 0.08f, 1.4f, 0, 0.3f, 2.0f, 0, 0.55f, 2.45f, 0, 0.8f},
                   {0.5f, 0.58f, 0.5f, 0.3f, 0.04f}, 8, birdUv(BIRD_WING));
    Xform place = xformThen(xformScale(1, 0.16f, 1), xformRotateZ(22));
    place = xformThen(place, xformTranslate(0.42f, 1.95f, -0.3f));
    appendMesh(out, wing, place);
}

static void addCrest(ModelMesh& out) {
    // A raised fan: the middle feathers stand tallest, the outer ones spread sideways and back,
    // every tip curling forward.
    for (int i = 0; i < 7; i++) {
        float f = (i - 3) / 3.0f, side = fabsf(f);
        float z = -1.28f + 0.25f * side, rise = 1.0f - 0.35f * side;
        addLimb(out,
                {{0.08f * f, 2.6f, z},
                 {0.28f * f, 2.6f + rise * 0.55f, z + 0.3f},
                 {0.45f * f, 2.6f + rise, z + 0.22f},
                 {0.5f * f, 2.6f + rise * 1.1f, z + 0.02f}},
                {0.1f, 0.08f, 0.05f, 0.02f}, 2, 4, birdUv(BIRD_CREST));
    }
}

static void addLegs(ModelMesh& out) {
    UvRect feet = birdUv(BIRD_FEET);
    addLimb(out, {{0.3f, 1.0f, -0.1f}, {0.32f, 0.5f, -0.05f}, {0.32f, 0.12f, -0.05f}},
            {0.11f, 0.08f, 0.07f}, 2, 4, feet);
    // Two toes forward, two back, as parrots grip. Each starts a little along its own way so
    // that no two toes share an edge.
    for (int toe = 0; toe < 4; toe++) {
        float dz = toe < 2 ? -0.42f : 0.36f, dx = (toe % 2 == 0 ? -0.1f : 0.12f);
        addLimb(out,
                {{0.32f + dx * 0.15f, 0.1f, -0.05f + dz * 0.15f},
                 {0.32f + dx * 0.6f, 0.06f, -0.05f + dz * 0.6f},
                 {0.32f + dx, 0.05f, -0.05f + dz}},
                {0.06f, 0.05f, 0.035f}, 1, 4, feet);
    }
}

static void standOnGround(ModelMesh& mesh) {
    float lowest = mesh.vertices[0].y;
    for (const MeshVertex& v : mesh.vertices)
        lowest = fminf(lowest, v.y);
    for (MeshVertex& v : mesh.vertices)
        v.y -= lowest;
}

static Rgb featherScales(float u, float v, int countU, float countV, float seed) {
    // Rows of rounded feather tips, each casting a faint shade on the one below.
    float row = v * countV;
    float a = u * (float)countU + 0.5f * fmodf(floorf(row), 2.0f);
    float across = a - floorf(a) - 0.5f;
    float tip = row - floorf(row) + 0.35f * across * across;
    float shade = 0.92f + 0.08f * smoothStep(0.0f, 0.5f, tip);
    float noise = 0.06f * seamlessFbm(u, v, 16, 16.0f, seed, 3);
    return rgbScale(FEATHER_WHITE, shade + noise);
}

void paintCockatooTexture(Image& image) {
    imageCreate(image, BIRD_TEXTURE_SIZE, BIRD_TEXTURE_SIZE);
    paintCell(image, BIRD_CELLS[BIRD_BODY], [](float u, float v) {
        // A pale blue-white ring of bare skin would sit around the eye; the rest is feathers.
        return featherScales(u, v, 10, 18.0f, 1.0f);
    });
    paintCell(image, BIRD_CELLS[BIRD_WING], [](float u, float v) {
        // Coverts near the body, then long flight feathers toward the tip with dark quill edges.
        if (v < 0.3f)
            return featherScales(u, v, 6, 14.0f, 2.0f);
        float feather = (v - 0.3f) * 16.0f;
        float edge = smoothStep(0.8f, 0.97f, feather - floorf(feather));
        Rgb c = rgbScale(FEATHER_WHITE, 0.96f - 0.14f * edge - 0.06f * (1 - u));
        return rgbMix(c, SULPHUR, 0.2f * smoothStep(0.6f, 0.2f, u));
    });
    paintCell(image, BIRD_CELLS[BIRD_CREST], [](float u, float v) {
        float barbs = 0.5f + 0.5f * sinf(u * 3.14159265f * 24 + v * 30);
        Rgb c = rgbMix(FEATHER_WHITE, SULPHUR, smoothStep(0.0f, 0.35f, v));
        return rgbScale(c, 0.88f + 0.12f * barbs);
    });
    paintCell(image, BIRD_CELLS[BIRD_BEAK], [](float u, float v) {
        return rgbScale(Rgb{0.16f, 0.16f, 0.18f},
                        1.0f + 0.3f * seamlessFbm(u, v, 4, 6, 5, 2) + 0.4f * u * v);
    });
    paintCell(image, BIRD_CELLS[BIRD_EYE], [](float u, float v) {
        // Dark eye with a glint near the top.
        Rgb c = {0.05f, 0.04f, 0.04f};
        return rgbMix(c, Rgb{0.9f, 0.9f, 0.9f},
                      ellipseCoverage(u, v, 0.85f, 0.7f, 0.12f, 0.1f, 0.4f));
    });
    paintCell(image, BIRD_CELLS[BIRD_FEET], [](float u, float v) {
        float scales = 0.5f + 0.5f * sinf(v * 3.14159265f * 40);
        return rgbScale(Rgb{0.45f, 0.42f, 0.42f},
                        0.85f + 0.15f * scales + 0.05f * seamlessNoise(u, v, 8, 8, 3));
    });
    paintCell(image, BIRD_CELLS[BIRD_TAIL], [](float u, float v) {
        float quill = u * 12.0f;
        float edge = smoothStep(0.38f, 0.5f, fabsf(quill - floorf(quill) - 0.5f));
        Rgb c = rgbScale(FEATHER_WHITE, 0.95f - 0.12f * edge);
        return v < 0.5f ? rgbMix(c, SULPHUR, 0.4f) : c;
    });
}
