#pragma once
// The texture layout shared by the three figures (512 x 512): one cell per kind of surface.
#include "paintBrushes.h"

const int FIGURE_TEXTURE_SIZE = 512;

enum FigurePart {
    // Round parts map u from 0 at the back to 1 at the front, mirrored left and right.
    PART_FACE,    // head: v from chin pole (0) to crown (1)
    PART_HAIR,    // hair pieces
    PART_SKIN,    // neck, hands, nose, ears
    PART_TORSO,   // v from crotch (0) to neck (1)
    PART_SLEEVE,  // arms: v from shoulder (0) to wrist (1)
    PART_HAT,     // hat brim and crown
    PART_LEGS,    // legs: v from ankle (0) to hip (1)
    PART_GARMENT, // skirt, poncho: v from the bottom up
    PART_SHOES,   // shoes and boot feet
    PART_BELT,    // belts and bands
    PART_LEATHER, // holster and other leather goods
    PART_METAL,   // gun, buckles
    FIGURE_PART_COUNT
};

struct FaceStyle {
    Rgb skin, lips, iris, brows, hair;
    float hairlineFront; // v of the hairline above the forehead
    float hairlineBack;  // v of the hairline at the nape
    float hairSide;      // fraction of a turn from the front where the hair comes down to the nape
    float stubble;       // 0..1 darkening of jaw and chin
    float moustache;     // 0..1 cover of the upper lip
    float lashes;        // 0..1 weight of the upper lid line
};

AtlasCell figureCell(FigurePart part);
UvRect figureUv(FigurePart part);
// Paints the face cell: skin, eyes, brows, mouth, cheeks and the hair cover of the scalp.
void paintFace(Image& image, const FaceStyle& style);
// Plain skin with pores and a faint flush, for the skin cell and bare limbs.
Rgb skinShade(Rgb skin, float u, float v);
