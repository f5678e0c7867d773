#include "figureAtlas.h"

#include <cmath>

// ---- helpers ----
static float hairlineAt(const FaceStyle& style, float side);
static Rgb paintEye(Rgb skin, const FaceStyle& style, float side, float v);

static const AtlasCell FIGURE_CELLS[FIGURE_PART_COUNT] = {
    {0, 384, 256, 128},   // face
    {256, 384, 128, 128}, // hair
    {384, 384, 128, 128}, // skin
    {0, 256, 256, 128},   // torso
    {256, 256, 128, 128}, // sleeve
    {384, 256, 128, 128}, // hat
    {0, 128, 128, 128},   // legs
    {128, 128, 256, 128}, // garment
    {384, 128, 128, 128}, // shoes
    {0, 0, 128, 128},     // belt
    {128, 0, 128, 128},   // leather
    {256, 0, 128, 128},   // metal
};

// Face features in head coordinates: side = longitude / 360 from the front, v = 0.5 + latitude /
// 180.
static const float EYE_SIDE = 0.047f;
static const float EYE_V = 0.515f;
static const float MOUTH_V = 0.345f;

AtlasCell figureCell(FigurePart part) {
    return FIGURE_CELLS[part];
}

UvRect figureUv(FigurePart part) {
    return cellUv(FIGURE_TEXTURE_SIZE, FIGURE_CELLS[part]);
}

Rgb skinShade(Rgb skin, float u, float v) {
    float pores = seamlessNoise(u, v, 128, 90.0f, 3.0f);
    float blotch = seamlessFbm(u, v, 4, 4.0f, 9.0f, 3);
    Rgb c = rgbScale(skin, 1.0f + 0.03f * pores + 0.06f * blotch);
    return rgbMix(c, Rgb{0.85f, 0.45f, 0.4f}, 0.06f * (blotch + 1));
}

static float hairlineAt(const FaceStyle& style, float side) {
    // Temples first, then down to the nape behind the ears.
    return style.hairlineFront + (style.hairlineBack - style.hairlineFront) *
                                     smoothStep(style.hairSide, style.hairSide + 0.05f, side);
}

// side: fraction of a turn away from the front centre line.
static Rgb paintEye(Rgb skin, const FaceStyle& style, float side, float v) {
    float du = (side - EYE_SIDE) / 0.026f, dv = (v - EYE_V) / 0.022f;
    // Almond: the lids close toward both corners.
    float lid = 1.0f - du * du;
    if (lid <= 0 || fabsf(dv) > lid + 0.25f)
        return skin;
    float inside = 1.0f - smoothStep(lid - 0.15f, lid + 0.15f, fabsf(dv));
    float irisDistance = sqrtf(du * du * 0.36f + dv * dv * 0.9f);
    Rgb eyeball = Rgb{0.93f, 0.92f, 0.88f};
    Rgb iris = rgbScale(style.iris, 1.0f - 0.4f * irisDistance);
    Rgb eye = rgbMix(eyeball, iris, 1.0f - smoothStep(0.5f, 0.62f, irisDistance));
    eye = rgbMix(eye, Rgb{0.03f, 0.03f, 0.03f}, 1.0f - smoothStep(0.22f, 0.3f, irisDistance));
    // A glint keeps the eye alive under flat light.
    eye = rgbMix(eye, Rgb{1, 1, 1}, ellipseCoverage(du, dv, -0.15f, 0.3f, 0.09f, 0.16f, 0.3f));
    Rgb c = rgbMix(skin, eye, inside);
    // Upper lid line and lashes.
    float upperLid = 1.0f - smoothStep(0.0f, 0.28f, fabsf(dv - lid * 0.95f));
    if (dv > 0)
        c = rgbMix(c, rgbScale(style.brows, 0.5f), style.lashes * upperLid);
    return c;
}

void paintFace(Image& image, const FaceStyle& style) {
    paintCell(image, figureCell(PART_FACE), [&](float u, float v) {
        float side = (1.0f - u) * 0.5f;
        Rgb c = skinShade(style.skin, u, v);
        float front = 1.0f - smoothStep(0.05f, 0.2f, side);
        // Cheeks and a shadow under the brow ridge.
        float cheeks = ellipseCoverage(side, v, 0.065f, 0.43f, 0.04f, 0.05f, 0.8f);
        c = rgbMix(c, Rgb{0.9f, 0.45f, 0.42f}, 0.25f * cheeks);
        float socket = ellipseCoverage(side, v, EYE_SIDE, EYE_V + 0.005f, 0.04f, 0.035f, 0.6f);
        c = rgbScale(c, 1.0f - 0.12f * socket);
        // Stubble over jaw, chin and upper lip.
        float jaw = smoothStep(0.44f, 0.38f, v) * (1.0f - smoothStep(0.13f, 0.2f, side));
        float upperLip = ellipseCoverage(side, v, 0, MOUTH_V + 0.03f, 0.035f, 0.018f, 0.5f);
        float grain = 0.6f + 0.4f * seamlessNoise(u, v, 256, 200.0f, 17.0f);
        c = rgbMix(c, rgbScale(style.hair, 0.8f), style.stubble * grain * (jaw + upperLip) * 0.55f);
        c = paintEye(c, style, side, v);
        // The brow arches over the eye.
        float browU = (side - EYE_SIDE) / 0.033f;
        float browV = EYE_V + 0.05f + 0.012f * (1.0f - browU * browU) + 0.006f * browU;
        float brow = (1.0f - smoothStep(0.8f, 1.05f, fabsf(browU))) *
                     (1.0f - smoothStep(0.004f, 0.011f, fabsf(v - browV)));
        c = rgbMix(c, style.brows, 0.85f * brow);
        // Lips with a dark parting line.
        float lips = ellipseCoverage(side, v, 0, MOUTH_V, 0.03f, 0.014f, 0.3f);
        c = rgbMix(c, style.lips, 0.9f * lips);
        float parting = (1.0f - smoothStep(0.0015f, 0.004f, fabsf(v - MOUTH_V - 0.001f))) *
                        (1.0f - smoothStep(0.022f, 0.03f, side));
        c = rgbMix(c, rgbScale(style.lips, 0.35f), parting);
        // Moustache drooping a little at the corners of the mouth.
        float droop = MOUTH_V + 0.027f - 0.25f * side;
        float moustache = ellipseCoverage(side, v, 0, droop, 0.042f, 0.011f, 0.35f);
        c = rgbMix(c, hairShade(style.hair, u, v * 4, 37.0f), style.moustache * moustache);
        // Nostril shadow under the nose.
        float nostrils = ellipseCoverage(side, v, 0.01f, 0.43f, 0.008f, 0.006f, 0.6f);
        c = rgbScale(c, 1.0f - 0.35f * nostrils * front);
        // Scalp hair with a soft hairline.
        float line = hairlineAt(style, side) + 0.01f * seamlessNoise(u, v, 64, 4.0f, 23.0f);
        float hair = smoothStep(line - 0.01f, line + 0.015f, v);
        return rgbMix(c, hairShade(style.hair, u, v, 31.0f), hair);
    });
}
