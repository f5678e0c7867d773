// The hero: a desert rider with a cowboy hat, a striped poncho, a gun belt and tall boots.
#include "../assetCatalog.h"
#include "figureAtlas.h"
#include "figureBody.h"

#include <cmath>

// ---- helpers ----
static void addGunBelt(const FigureShape& shape, ModelMesh& out);
static void dropPonchoPoints(ModelMesh& mesh, int firstVertex);
static Rgb ponchoStripes(float u, float v);

static const Rgb HERO_SKIN = {0.8f, 0.57f, 0.42f};
static const Rgb HERO_HAIR = {0.12f, 0.09f, 0.06f};
static const Rgb FELT = {0.32f, 0.22f, 0.15f};
static const Rgb CANVAS = {0.62f, 0.54f, 0.4f};
static const Rgb BOOT = {0.3f, 0.17f, 0.09f};
static const float HERO_HEIGHT = 13.2f; // 14 with the hat
// Where the poncho's hem lies in its cell's v (ring 1 of 10).
static const float PONCHO_HEM_V = 1.0f / 9;

void buildHeroModel(ModelMesh& mesh) {
    ModelMesh figure;
    FigureShape shape = {1.2f, 1.1f, 1.4f, 1.58f, 0, 1.05f};
    buildFigureBody(shape, figure);
    addHat(figure, HatShape{1.75f, 0.35f, 0.82f, 0.88f, 0.26f, 7}, FIGURE_HEAD_Y + 0.45f,
           figureUv(PART_HAT));
    // Poncho from the neck over the shoulders to just above the elbows.
    int ponchoStart = (int)figure.vertices.size();
    addOvalLathe(figure, {0, 2.38f, 2.34f, 2.22f, 2.1f, 1.92f, 1.3f, 0.55f, 0.44f, 0},
                 {7.8f, 7.55f, 7.9f, 8.9f, 9.9f, 10.5f, 10.9f, 11.1f, 11.3f, 11.3f}, 32, 1.0f,
                 0.74f, {0, 0, 0}, figureUv(PART_GARMENT));
    dropPonchoPoints(figure, ponchoStart);
    addGunBelt(shape, figure);
    addBootHeels(figure, 0.28f);
    float k = HERO_HEIGHT / 13.0f;
    appendMesh(mesh, figure, xformScale(k, k, k));
}

static void addGunBelt(const FigureShape& shape, ModelMesh& out) {
    ModelMesh belt;
    // Slung low and sloping down toward the holster on the right hip (-x).
    addOvalLathe(belt, {0, 1, 1, 0}, {-0.2f, -0.2f, 0.2f, 0.2f}, 24, shape.hipRadius * 1.07f,
                 shape.hipRadius * FIGURE_TORSO_DEPTH * 1.14f, {0, 0, 0}, figureUv(PART_BELT));
    appendMesh(out, belt, xformThen(xformRotateZ(7), xformTranslate(0, FIGURE_HIP_Y - 0.05f, 0)));
    float holsterX = -shape.hipRadius - 0.12f;
    addOrientedEllipsoid(out, {0.22f, 0.72f, 0.36f}, 8, 0, {holsterX, 5.75f, 0.08f}, 10, 8,
                         figureUv(PART_LEATHER));
    addLimb(out,
            {{holsterX, 6.2f, 0.12f},
             {holsterX - 0.02f, 6.6f, 0.02f},
             {holsterX - 0.04f, 6.85f, -0.25f}},
            {0.13f, 0.12f, 0.11f}, 2, 8, figureUv(PART_METAL));
}

// A poncho is a square cloth: its corners hang lower at the front and the back.
static void dropPonchoPoints(ModelMesh& mesh, int firstVertex) {
    for (size_t i = firstVertex; i < mesh.vertices.size(); i++) {
        MeshVertex& v = mesh.vertices[i];
        float depth = v.z / 0.74f, radius = sqrtf(v.x * v.x + depth * depth);
        if (radius < 1e-4f)
            continue;
        float facing = depth / radius;
        v.y -= 0.9f * facing * facing * smoothStep(9.6f, 7.6f, v.y);
    }
}

static Rgb ponchoStripes(float u, float v) {
    // Woven bands: red ground, ochre and black bands with a cream zig-zag between them.
    float band = (v - PONCHO_HEM_V) * 9.0f;
    float inBand = band - floorf(band);
    int bandIndex = (int)floorf(band);
    Rgb ground = {0.62f, 0.16f, 0.1f};
    Rgb c = ground;
    if (inBand > 0.55f && inBand < 0.8f)
        c = bandIndex % 2 == 0 ? Rgb{0.85f, 0.6f, 0.2f} : Rgb{0.12f, 0.1f, 0.09f};
    float zig = fabsf(fmodf(u * 24.0f, 2.0f) - 1.0f);
    if (fabsf(inBand - (0.84f + 0.1f * zig)) < 0.03f)
        c = Rgb{0.92f, 0.86f, 0.7f};
    float weave = 0.05f * sinf(u * 3.14159265f * 200) * sinf(v * 3.14159265f * 220);
    return clothShade(rgbScale(c, 1.0f + weave), u, v, 0.22f, 14.0f);
}

void paintHeroTexture(Image& image) {
    imageCreate(image, FIGURE_TEXTURE_SIZE, FIGURE_TEXTURE_SIZE);
    FaceStyle face;
    face.skin = HERO_SKIN;
    face.lips = Rgb{0.6f, 0.35f, 0.3f};
    face.iris = Rgb{0.3f, 0.42f, 0.55f};
    face.brows = Rgb{0.12f, 0.08f, 0.05f};
    face.hair = HERO_HAIR;
    face.hairlineFront = 0.75f;
    face.hairlineBack = 0.42f;
    face.hairSide = 0.2f;
    face.stubble = 0.85f;
    face.moustache = 1.0f;
    face.lashes = 0.6f;
    paintFace(image, face);
    paintCell(image, figureCell(PART_HAIR),
              [](float u, float v) { return hairShade(HERO_HAIR, u, v, 5.0f); });
    paintCell(image, figureCell(PART_SKIN),
              [](float u, float v) { return skinShade(HERO_SKIN, u, v); });
    paintCell(image, figureCell(PART_TORSO), [](float u, float v) {
        // Canvas trousers below the waist, a faded blue shirt above.
        if (v < TORSO_V_WAIST)
            return clothShade(CANVAS, u, v, 0.15f, 7.0f);
        return clothShade(Rgb{0.35f, 0.42f, 0.5f}, u, v, 0.2f, 8.0f);
    });
    paintCell(image, figureCell(PART_SLEEVE), [](float u, float v) {
        // Shirt sleeves with a cuff.
        Rgb shirt = clothShade(Rgb{0.35f, 0.42f, 0.5f}, u, v, 0.25f, 8.0f);
        return v > 0.9f ? rgbScale(shirt, 0.8f) : shirt;
    });
    paintCell(image, figureCell(PART_HAT), [](float u, float v) {
        Rgb c = rgbScale(FELT, 1.0f + 0.12f * seamlessFbm(u, v, 16, 16, 3, 3));
        // Band of darker leather above the brim, studded.
        if (v > 0.54f && v < 0.6f) {
            c = leatherShade(Rgb{0.14f, 0.09f, 0.06f}, u, v, 9.0f);
            if (dotPattern(u, (v - 0.54f) / 0.06f, 20, 1.0f, 0.3f) > 0.5f)
                c = Rgb{0.8f, 0.75f, 0.6f};
        }
        return c;
    });
    paintCell(image, figureCell(PART_GARMENT), [](float u, float v) {
        if (v < PONCHO_HEM_V)
            return rgbScale(ponchoStripes(u, PONCHO_HEM_V + 0.05f), 0.5f);
        // Fringe along the hem, a red scarf at the collar.
        if (v < PONCHO_HEM_V + 0.05f) {
            float strand = 0.5f + 0.5f * sinf(u * 3.14159265f * 120);
            return rgbScale(Rgb{0.9f, 0.84f, 0.7f}, 0.7f + 0.3f * strand);
        }
        if (v > 7.0f / 9)
            return clothShade(Rgb{0.7f, 0.12f, 0.1f}, u, v, 0.3f, 5.0f);
        return ponchoStripes(u, v);
    });
    paintCell(image, figureCell(PART_LEGS), [](float u, float v) {
        // Tall boots to just below the knee, canvas above.
        if (v < 0.42f) {
            Rgb c = leatherShade(BOOT, u, v, 4.0f);
            if (fabsf(v - 0.4f) < 0.02f || fabsf(u - 0.5f) < 0.01f)
                c = rgbScale(c, 1.4f);
            return c;
        }
        return clothShade(CANVAS, u, v, 0.2f, 3.0f);
    });
    paintCell(image, figureCell(PART_SHOES), [](float u, float v) {
        return leatherShade(v < 0.25f ? Rgb{0.12f, 0.08f, 0.05f} : BOOT, u, v, 4.0f);
    });
    paintCell(image, figureCell(PART_BELT), [](float u, float v) {
        // Cartridge loops on the belt, brass showing.
        Rgb c = leatherShade(Rgb{0.38f, 0.24f, 0.12f}, u, v, 8.0f);
        if (v > 0.3f && v < 0.7f && dotPattern(u, 0.5f, 18, 1.0f, 0.35f) > 0.5f)
            c = Rgb{0.78f, 0.62f, 0.3f};
        return c;
    });
    paintCell(image, figureCell(PART_LEATHER), [](float u, float v) {
        return leatherShade(Rgb{0.45f, 0.28f, 0.14f}, u, v, 10.0f);
    });
    paintCell(image, figureCell(PART_METAL), [](float u, float v) {
        // Gun grip: walnut with a steel ring where it meets the frame.
        Rgb wood = rgbScale(Rgb{0.35f, 0.2f, 0.1f}, 1.0f + 0.2f * seamlessNoise(u, v, 8, 30, 2));
        return v < 0.3f ? Rgb{0.35f, 0.36f, 0.38f} : wood;
    });
}
