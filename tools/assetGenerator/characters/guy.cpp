// The guy: a farm hand in a checked shirt, jeans, braces, boots and a straw hat.
#include "../assetCatalog.h"
#include "figureAtlas.h"
#include "figureBody.h"

#include <cmath>

// ---- helpers ----
static Rgb checkedShirt(float u, float v, int countU, float countV);

static const Rgb GUY_SKIN = {0.86f, 0.63f, 0.48f};
static const Rgb GUY_HAIR = {0.2f, 0.13f, 0.08f};
static const Rgb SHIRT_RED = {0.66f, 0.14f, 0.12f};
static const Rgb DENIM = {0.22f, 0.3f, 0.5f};
static const Rgb STRAW = {0.86f, 0.74f, 0.45f};
static const float GUY_HEIGHT = 13.5f;

void buildGuyModel(ModelMesh& mesh) {
    ModelMesh figure;
    buildFigureBody(FigureShape{1.22f, 1.15f, 1.38f, 1.55f, 0, 1.05f}, figure);
    addHat(figure, HatShape{1.5f, 0.06f, 0.8f, 0.7f, 0.04f, 4}, FIGURE_HEAD_Y + 0.5f,
           figureUv(PART_HAT));
    addBootHeels(figure, 0.16f);
    addNeckerchief(figure, figureUv(PART_BELT));
    float k = GUY_HEIGHT / 13.0f;
    appendMesh(mesh, figure, xformScale(k, k, k));
}

static Rgb checkedShirt(float u, float v, int countU, float countV) {
    float a = u * (float)countU, b = v * countV;
    a -= floorf(a);
    b -= floorf(b);
    float stripeU = a < 0.35f ? 1.0f : 0.0f, stripeV = b < 0.35f ? 1.0f : 0.0f;
    Rgb c = rgbScale(SHIRT_RED, 1.0f - 0.3f * (stripeU + stripeV) - 0.2f * stripeU * stripeV);
    // A thin pale thread through the red.
    if (fabsf(a - 0.68f) < 0.04f || fabsf(b - 0.68f) < 0.04f)
        c = rgbMix(c, Rgb{0.9f, 0.85f, 0.7f}, 0.5f);
    return clothShade(c, u, v, 0.15f, 12.0f);
}

void paintGuyTexture(Image& image) {
    imageCreate(image, FIGURE_TEXTURE_SIZE, FIGURE_TEXTURE_SIZE);
    FaceStyle face;
    face.skin = GUY_SKIN;
    face.lips = Rgb{0.66f, 0.38f, 0.34f};
    face.iris = Rgb{0.35f, 0.25f, 0.15f};
    face.brows = Rgb{0.18f, 0.12f, 0.07f};
    face.hair = GUY_HAIR;
    face.hairlineFront = 0.76f;
    face.hairlineBack = 0.38f;
    face.hairSide = 0.16f;
    face.stubble = 0.5f;
    face.moustache = 0.0f;
    face.lashes = 0.5f;
    paintFace(image, face);
    paintCell(image, figureCell(PART_HAIR),
              [](float u, float v) { return hairShade(GUY_HAIR, u, v, 5.0f); });
    paintCell(image, figureCell(PART_SKIN),
              [](float u, float v) { return skinShade(GUY_SKIN, u, v); });
    paintCell(image, figureCell(PART_TORSO), [](float u, float v) {
        float side = (1.0f - u) * 0.5f;
        // Open collar.
        if (v > 0.93f - 1.5f * side * side && side < 0.06f)
            return skinShade(GUY_SKIN, u, v);
        // Jeans up to a leather belt, braces over the shirt.
        if (v < TORSO_V_WAIST - 0.03f)
            return clothShade(DENIM, u, v, 0.12f, 7.0f);
        if (v < TORSO_V_WAIST + 0.04f) {
            bool buckle = side < 0.03f;
            return buckle ? Rgb{0.75f, 0.65f, 0.35f}
                          : leatherShade(Rgb{0.35f, 0.2f, 0.1f}, u, v, 2.0f);
        }
        float braceSide = 0.1f + 0.03f * (v - TORSO_V_WAIST);
        if (fabsf(side - braceSide) < 0.018f || fabsf(side - (0.5f - braceSide)) < 0.018f)
            return clothShade(Rgb{0.3f, 0.22f, 0.14f}, u, v, 0.05f, 3.0f);
        return checkedShirt(u, v, 10, 12.0f);
    });
    paintCell(image, figureCell(PART_SLEEVE), [](float u, float v) {
        // Sleeves rolled up above the elbow.
        if (v > 0.56f)
            return skinShade(GUY_SKIN, u, v);
        if (v > 0.44f)
            return rgbScale(checkedShirt(u, v * 3, 4, 3.0f), 0.9f);
        return checkedShirt(u, v, 5, 6.0f);
    });
    paintCell(image, figureCell(PART_HAT), [](float u, float v) {
        // Woven straw in rings; a dark band above the brim.
        float weave =
            0.12f * sinf(v * 3.14159265f * 80) + 0.08f * sinf(u * 3.14159265f * 60 + v * 40);
        Rgb c = rgbScale(STRAW, 1.0f + weave + 0.1f * seamlessFbm(u, v, 8, 8, 4, 2));
        if (v > 0.53f && v < 0.63f)
            c = clothShade(Rgb{0.25f, 0.14f, 0.1f}, u, v, 0.05f, 9.0f);
        return c;
    });
    paintCell(image, figureCell(PART_LEGS), [](float u, float v) {
        // Denim with a side seam and boots to mid-shin.
        Rgb c = clothShade(DENIM, u, v, 0.2f, 3.0f);
        float twill = 0.06f * sinf((u * 60 + v * 40) * 3.14159265f);
        c = rgbScale(c, 1.0f + twill);
        if (fabsf(u - 0.5f) < 0.015f)
            c = rgbMix(c, Rgb{0.8f, 0.6f, 0.3f}, 0.6f);
        if (v < 0.18f)
            c = leatherShade(Rgb{0.36f, 0.22f, 0.12f}, u, v, 6.0f);
        return c;
    });
    paintCell(image, figureCell(PART_BELT), [](float u, float v) {
        // Blue bandana with white dots.
        Rgb c = clothShade(Rgb{0.15f, 0.25f, 0.55f}, u, v, 0.2f, 21.0f);
        return rgbMix(c, Rgb{0.9f, 0.9f, 0.85f}, dotPattern(u, v, 5, 5.0f, 0.25f));
    });
    paintCell(image, figureCell(PART_SHOES), [](float u, float v) {
        return leatherShade(v < 0.2f ? Rgb{0.15f, 0.1f, 0.07f} : Rgb{0.36f, 0.22f, 0.12f}, u, v,
                            6.0f);
    });
}
