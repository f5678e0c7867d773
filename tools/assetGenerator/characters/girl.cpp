// The girl: a young woman in a blue print dress with long brown hair.
#include "../assetCatalog.h"
#include "figureAtlas.h"
#include "figureBody.h"

#include <cmath>

// ---- helpers ----
static Rgb dressFabric(float u, float v, int countU, float countV);

static const Rgb GIRL_SKIN = {0.93f, 0.74f, 0.6f};
static const Rgb GIRL_HAIR = {0.42f, 0.24f, 0.12f};
static const Rgb DRESS_BLUE = {0.36f, 0.5f, 0.82f};
static const Rgb DRESS_TRIM = {0.95f, 0.93f, 0.86f};
static const float GIRL_HEIGHT = 12.5f;

void buildGirlModel(ModelMesh& mesh) {
    ModelMesh figure;
    buildFigureBody(FigureShape{1.3f, 0.92f, 1.12f, 1.3f, 0.3f, 0.9f}, figure);
    UvRect hair = figureUv(PART_HAIR), dress = figureUv(PART_GARMENT);
    // Hair over the crown and hanging down the back.
    addOrientedEllipsoid(figure, {0.8f, 0.98f, 0.9f}, -12, 0, {0, FIGURE_HEAD_Y + 0.12f, -0.17f},
                         16, 10, hair);
    addOrientedEllipsoid(figure, {0.8f, 1.45f, 0.4f}, -8, 0, {0, FIGURE_HEAD_Y - 1.1f, -0.5f}, 12,
                         8, hair);
    // A ribbon bow where the hair gathers at the back of the head.
    UvRect ribbon = figureUv(PART_BELT);
    addOrientedEllipsoid(figure, {0.13f, 0.12f, 0.1f}, 0, 0, {0, FIGURE_HEAD_Y - 0.35f, -0.98f}, 6,
                         4, ribbon);
    int bowVertex = (int)figure.vertices.size(), bowFace = (int)figure.faces.size();
    addOrientedEllipsoid(figure, {0.3f, 0.17f, 0.08f}, 0, -12,
                         {0.27f, FIGURE_HEAD_Y - 0.33f, -0.92f}, 8, 4, ribbon);
    mirrorAcrossX(figure, bowVertex, bowFace);
    // Skirt flaring from the waist to just below the knee.
    addOvalLathe(figure, {0, 1.95f, 1.78f, 1.52f, 1.3f, 1.0f, 0},
                 {3.55f, 3.3f, 4.6f, 5.9f, 7.0f, FIGURE_WAIST_Y + 0.05f, FIGURE_WAIST_Y + 0.12f},
                 24, 1.0f, 0.8f, {0, 0, 0}, dress);
    // Puffed short sleeves.
    int firstVertex = (int)figure.vertices.size(), firstFace = (int)figure.faces.size();
    addOrientedEllipsoid(figure, {0.52f, 0.56f, 0.5f}, 0, 0, {1.24f, 9.95f, 0}, 10, 6,
                         figureUv(PART_TORSO));
    mirrorAcrossX(figure, firstVertex, firstFace);
    float k = GIRL_HEIGHT / 13.0f;
    appendMesh(mesh, figure, xformScale(k, k, k));
}

static Rgb dressFabric(float u, float v, int countU, float countV) {
    Rgb c = clothShade(DRESS_BLUE, u, v, 0.18f, 2.0f);
    // Small cream flowers: a dot with a darker heart.
    float flower = dotPattern(u, v, countU, countV, 0.3f);
    float heart = dotPattern(u, v, countU, countV, 0.1f);
    c = rgbMix(c, DRESS_TRIM, 0.8f * flower);
    return rgbMix(c, Rgb{0.85f, 0.6f, 0.2f}, heart);
}

void paintGirlTexture(Image& image) {
    imageCreate(image, FIGURE_TEXTURE_SIZE, FIGURE_TEXTURE_SIZE);
    FaceStyle face;
    face.skin = GIRL_SKIN;
    face.lips = Rgb{0.8f, 0.3f, 0.32f};
    face.iris = Rgb{0.2f, 0.45f, 0.3f};
    face.brows = Rgb{0.3f, 0.18f, 0.1f};
    face.hair = GIRL_HAIR;
    face.hairlineFront = 0.78f;
    face.hairlineBack = 0.28f;
    face.hairSide = 0.1f;
    face.stubble = 0.0f;
    face.moustache = 0.0f;
    face.lashes = 1.0f;
    paintFace(image, face);
    paintCell(image, figureCell(PART_HAIR),
              [](float u, float v) { return hairShade(GIRL_HAIR, u, v, 5.0f); });
    paintCell(image, figureCell(PART_SKIN),
              [](float u, float v) { return skinShade(GIRL_SKIN, u, v); });
    paintCell(image, figureCell(PART_TORSO), [](float u, float v) {
        // Scooped neckline at the front, a sash at the waist.
        float front = (1.0f - u) * 0.5f;
        float neckline = TORSO_V_SHOULDER + 0.1f + 0.6f * front * front;
        if (v > neckline + 0.02f)
            return skinShade(GIRL_SKIN, u, v);
        if (v > neckline)
            return clothShade(DRESS_TRIM, u, v, 0.1f, 4.0f);
        if (fabsf(v - TORSO_V_WAIST) < 0.035f)
            return clothShade(rgbScale(DRESS_BLUE, 0.55f), u, v, 0.1f, 6.0f);
        return dressFabric(u, v, 6, 10.0f);
    });
    paintCell(image, figureCell(PART_SLEEVE),
              [](float u, float v) { return skinShade(GIRL_SKIN, u, v); });
    paintCell(image, figureCell(PART_GARMENT), [](float u, float v) {
        // v: underside below 1/6, hem at 1/6, waist at 5/6.
        float folds =
            0.5f + 0.5f * sinf(u * 2 * 3.14159265f * 14 + 2 * seamlessNoise(u, v, 4, 2, 8));
        Rgb c = dressFabric(u, v, 9, 14.0f);
        c = rgbScale(c, 0.82f + 0.18f * folds * (1.0f - v));
        if (v < 1.0f / 6 + 0.05f)
            c = clothShade(DRESS_TRIM, u, v, 0.1f, 3.0f);
        if (v < 1.0f / 6 - 0.01f)
            c = rgbScale(c, 0.6f);
        return v > 5.0f / 6 - 0.04f ? clothShade(rgbScale(DRESS_BLUE, 0.55f), u, v, 0.1f, 6.0f) : c;
    });
    paintCell(image, figureCell(PART_BELT), [](float u, float v) {
        return clothShade(Rgb{0.78f, 0.13f, 0.16f}, u, v, 0.25f, 12.0f);
    });
    paintCell(image, figureCell(PART_LEGS),
              [](float u, float v) { return skinShade(GIRL_SKIN, u, v); });
    paintCell(image, figureCell(PART_SHOES), [](float u, float v) {
        return leatherShade(Rgb{0.45f, 0.16f, 0.1f}, u, v, 3.0f);
    });
}
