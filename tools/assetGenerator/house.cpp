// A clapboard house with a gabled roof, shuttered windows, a porch, a chimney and a rain barrel.
// houseroof.bmp is its only texture: shingles and a strip of trim, brick and dark wood in the top
// half, the front wall (door, windows) and the side wall in the bottom half.
#include <cmath>

#include "assetCatalog.h"
#include "terrain.h"
#include "texturePaint.h"

static const UvRect ROOF_UV = {0, 0.5f, 0.875f, 1};
static const UvRect SHUTTER_UV = {0.875f, 0.5f, 1, 0.66f};
static const UvRect DARK_WOOD_UV = {0.875f, 0.67f, 1, 0.82f};
static const UvRect BRICK_UV = {0.875f, 0.83f, 1, 1};
static const UvRect FRONT_UV = {0, 0, 0.5f, 0.5f};
static const UvRect SIDE_UV = {0.5f, 0, 1, 0.5f};
static const UvRect PLAIN_WALL_UV = {0.52f, 0.42f, 0.98f, 0.49f}; // clapboard above the windows

static const float WIDTH = 30, DEPTH = 22, WALL = 15, RIDGE = 26, OVERHANG = 1.6f;
static const float BURY = 3; // walls reach below the sand

// Door and windows, in texture coordinates inside FRONT_UV or SIDE_UV. The wall's v runs from
// y = -BURY to WALL, so the door's foot v = 0.083 is at the sand.
struct Opening {
    float u0, v0, u1, v1;
    bool door;
};
static const Opening OPENINGS[] = {
    {0.205f, 0.083f, 0.295f, 0.375f, true}, {0.05f, 0.194f, 0.14f, 0.375f, false},
    {0.36f, 0.194f, 0.45f, 0.375f, false},  {0.58f, 0.194f, 0.68f, 0.375f, false},
    {0.82f, 0.194f, 0.92f, 0.375f, false},
};

struct Wall {
    float corners[12]; // bottom-left, bottom-right, top-right, top-left seen from outside
    UvRect uv;
};

// ---- helpers ----
static void addWall(ModelMesh& mesh, const Wall& wall);
static void addBoxAt(ModelMesh& mesh, float sx, float sy, float sz, const Xform& place, UvRect uv);
static Xform onWall(const Wall& wall, float u, float v, float outward);
static void addOpeningTrim(ModelMesh& mesh, const Wall& wall, const Opening& opening);
static void addRoof(ModelMesh& mesh);
static void addPorch(ModelMesh& mesh);
static void addBarrel(ModelMesh& mesh, float x, float z);
static void paintShingles(Image& image);
static void paintTrimStrip(Image& image);
static void paintWalls(Image& image);
static void paintOpening(Image& image, const Opening& opening);

static void addWall(ModelMesh& mesh, const Wall& wall) {
    const UvRect& uv = wall.uv;
    const float us[4] = {uv.u0, uv.u1, uv.u1, uv.u0}, vs[4] = {uv.v0, uv.v0, uv.v1, uv.v1};
    int idx[4];
    for (int k = 0; k < 4; k++)
        idx[k] = addVertex(mesh, wall.corners[k * 3], wall.corners[k * 3 + 1],
                           wall.corners[k * 3 + 2], us[k], vs[k]);
    addQuad(mesh, idx[0], idx[1], idx[2], idx[3]);
}

static void addBoxAt(ModelMesh& mesh, float sx, float sy, float sz, const Xform& place, UvRect uv) {
    ModelMesh box;
    makeBox(box, sx, sy, sz, uv);
    appendMesh(mesh, box, place);
}

// Places a part at the texture point (u, v) of a wall, its x along the wall, its z out of it.
static Xform onWall(const Wall& wall, float u, float v, float outward) {
    const float* c = wall.corners;
    float t = (u - wall.uv.u0) / (wall.uv.u1 - wall.uv.u0);
    float s = (v - wall.uv.v0) / (wall.uv.v1 - wall.uv.v0);
    float along[3] = {c[3] - c[0], c[4] - c[1], c[5] - c[2]};
    float up[3] = {c[9] - c[0], c[10] - c[1], c[11] - c[2]};
    float length = hypotf(along[0], along[2]);
    float dx = along[0] / length, dz = along[2] / length;
    // Out of the wall: the along direction turned a quarter to the right, seen from above.
    float p[3];
    for (int k = 0; k < 3; k++)
        p[k] = c[k] + t * along[k] + s * up[k];
    p[0] += -dz * outward;
    p[2] += dx * outward;
    float yaw = atan2f(-dz, dx) * 180 / 3.14159265f;
    return xformThen(xformRotateY(yaw), xformTranslate(p[0], p[1], p[2]));
}

// Shutters either side of a window; a frame around the door.
static void addOpeningTrim(ModelMesh& mesh, const Wall& wall, const Opening& opening) {
    float uMid = (opening.u0 + opening.u1) / 2, vMid = (opening.v0 + opening.v1) / 2;
    float wallLength = hypotf(wall.corners[3] - wall.corners[0], wall.corners[5] - wall.corners[2]);
    float width = (opening.u1 - opening.u0) / (wall.uv.u1 - wall.uv.u0) * wallLength;
    float height = (opening.v1 - opening.v0) / (wall.uv.v1 - wall.uv.v0) * (WALL + BURY);
    if (opening.door) {
        for (int side = -1; side <= 1; side += 2)
            addBoxAt(mesh, 0.5f, height + 0.5f, 0.4f,
                     xformThen(xformTranslate(side * (width / 2 + 0.25f), 0.25f, 0),
                               onWall(wall, uMid, vMid, 0.2f)),
                     DARK_WOOD_UV);
        addBoxAt(
            mesh, width + 1.5f, 0.5f, 0.5f,
            xformThen(xformTranslate(0, height / 2 + 0.5f, 0), onWall(wall, uMid, vMid, 0.25f)),
            DARK_WOOD_UV);
        return;
    }
    for (int side = -1; side <= 1; side += 2)
        addBoxAt(mesh, width / 2, height, 0.25f,
                 xformThen(xformTranslate(side * (width * 0.75f + 0.1f), 0, 0),
                           onWall(wall, uMid, vMid, 0.15f)),
                 SHUTTER_UV);
    addBoxAt(mesh, width + 0.8f, 0.35f, 0.7f,
             xformThen(xformTranslate(0, -height / 2 - 0.15f, 0), onWall(wall, uMid, vMid, 0.3f)),
             DARK_WOOD_UV); // sill
}

static void addRoof(ModelMesh& mesh) {
    float rise = RIDGE - WALL, run = DEPTH / 2;
    float slope = atan2f(rise, run) * 180 / 3.14159265f;
    float length = hypotf(rise, run) + OVERHANG;
    for (int side = -1; side <= 1; side += 2) {
        // A slab lying along +z from the ridge, tilted down; mirrored for the back.
        Xform slab = xformThen(xformTranslate(0, 0.3f, length / 2), xformRotateX(slope));
        slab = xformThen(slab, xformTranslate(0, RIDGE, 0));
        if (side < 0)
            slab = xformThen(slab, xformScale(1, 1, -1));
        addBoxAt(mesh, WIDTH + 2 * OVERHANG, 0.6f, length, slab, ROOF_UV);
        // Barge boards along the slab's two gable edges.
        for (int end = -1; end <= 1; end += 2) {
            Xform board = xformThen(xformTranslate(end * (WIDTH / 2 + OVERHANG), -0.1f, length / 2),
                                    xformRotateX(slope));
            board = xformThen(board, xformTranslate(0, RIDGE, 0));
            if (side < 0)
                board = xformThen(board, xformScale(1, 1, -1));
            addBoxAt(mesh, 0.4f, 1.2f, length, board, DARK_WOOD_UV);
        }
    }
    addBoxAt(mesh, WIDTH + 2 * OVERHANG + 0.4f, 0.7f, 1.2f, xformTranslate(0, RIDGE + 0.55f, 0),
             DARK_WOOD_UV); // ridge cap
    addBoxAt(mesh, 2.8f, 9, 2.8f, xformTranslate(8, RIDGE - 0.5f, -4.5f), BRICK_UV);
    addBoxAt(mesh, 3.4f, 0.5f, 3.4f, xformTranslate(8, RIDGE + 4.2f, -4.5f), BRICK_UV);
}

static void addPorch(ModelMesh& mesh) {
    const float z = DEPTH / 2;
    addBoxAt(mesh, 14, 1.2f, 5, xformTranslate(0, 0.2f, z + 2.5f), DARK_WOOD_UV);
    addBoxAt(mesh, 5, 0.6f, 1.6f, xformTranslate(0, -0.1f, z + 5.6f), DARK_WOOD_UV); // step
    for (int side = -1; side <= 1; side += 2)
        addBoxAt(mesh, 0.6f, 9.8f, 0.6f, xformTranslate(side * 6.5f, 5.5f, z + 4.5f), DARK_WOOD_UV);
    addBoxAt(mesh, 15, 0.4f, 6, xformThen(xformRotateX(12), xformTranslate(0, 10.6f, z + 2.8f)),
             ROOF_UV);
    // Railings between the posts and the step.
    for (int side = -1; side <= 1; side += 2)
        addBoxAt(mesh, 3.6f, 0.35f, 0.35f, xformTranslate(side * 4.5f, 4.0f, z + 4.5f),
                 DARK_WOOD_UV);
}

static void addBarrel(ModelMesh& mesh, float x, float z) {
    ModelMesh barrel;
    makeLathe(barrel, {0, 1.5f, 1.75f, 1.85f, 1.75f, 1.5f, 0}, {-1, -1, 1, 2.3f, 3.6f, 4.8f, 4.8f},
              14, UvRect{DARK_WOOD_UV.u0, DARK_WOOD_UV.v0, DARK_WOOD_UV.u1, DARK_WOOD_UV.v1});
    appendMesh(mesh, barrel, xformTranslate(x, 0, z));
}

void buildHouseModel(ModelMesh& mesh) {
    // Built y up with the front (door) toward +z, which the row turns toward the camera.
    ModelMesh house;
    const float x = WIDTH / 2, z = DEPTH / 2, b = -BURY;
    const Wall walls[4] = {
        {{-x, b, z, x, b, z, x, WALL, z, -x, WALL, z}, FRONT_UV},
        {{x, b, -z, -x, b, -z, -x, WALL, -z, x, WALL, -z}, SIDE_UV},
        {{x, b, z, x, b, -z, x, WALL, -z, x, WALL, z}, SIDE_UV},
        {{-x, b, -z, -x, b, z, -x, WALL, z, -x, WALL, -z}, SIDE_UV},
    };
    for (const Wall& wall : walls) {
        addWall(house, wall);
        for (const Opening& opening : OPENINGS) {
            bool inRegion = opening.u0 >= wall.uv.u0 && opening.u1 <= wall.uv.u1;
            if (inRegion)
                addOpeningTrim(house, wall, opening);
        }
    }
    // Gables under the roof ends.
    for (int side = -1; side <= 1; side += 2) {
        float gx = side * x;
        int a = addVertex(house, gx, WALL, side * z, PLAIN_WALL_UV.u0, PLAIN_WALL_UV.v0);
        int c = addVertex(house, gx, WALL, -side * z, PLAIN_WALL_UV.u1, PLAIN_WALL_UV.v0);
        int apex = addVertex(house, gx, RIDGE, 0, (PLAIN_WALL_UV.u0 + PLAIN_WALL_UV.u1) / 2,
                             PLAIN_WALL_UV.v1);
        addTriangle(house, a, c, apex);
    }
    // Corner boards.
    for (int sx = -1; sx <= 1; sx += 2)
        for (int sz = -1; sz <= 1; sz += 2)
            addBoxAt(house, 0.8f, WALL + BURY, 0.8f,
                     xformTranslate(sx * x, (WALL - BURY) / 2, sz * z), DARK_WOOD_UV);
    addRoof(house);
    addPorch(house);
    addBarrel(house, x + 2.5f, z - 3);
    convertYUpToZUp(house);
    // The row stands at y = 50; the sand under the house is lower.
    float ground = sandHeight(80, -150);
    appendMesh(mesh, house, xformTranslate(0, 0, ground - 50));
}

static void paintShingles(Image& image) {
    int w = (int)(image.width * ROOF_UV.u1), h = image.height;
    int half = h / 2, rowH = h / 32, shingleW = image.width / 16;
    for (int y = half; y < h; y++) {
        int row = (y - half) / rowH, inRow = (y - half) % rowH;
        for (int x = 0; x < w; x++) {
            float u = (float)x / image.width, v = (float)y / h;
            int shifted = x + (row % 2) * shingleW / 2;
            int col = shifted / shingleW, inCol = shifted % shingleW;
            float tone = 0.8f + 0.2f * tileNoise(col * 0.137f, row * 0.071f, 4, 1, 51);
            float n = tileNoise(u, v, 64, 2, 52);
            Rgb c = rgbScale(
                rgbMix(Rgb{0.55f, 0.30f, 0.20f}, Rgb{0.35f, 0.22f, 0.17f}, 0.5f + 0.4f * n), tone);
            if (inRow < 2 || inCol == 0)
                c = rgbScale(c, 0.45f); // shadow line under each row and between shingles
            imagePut(image, x, y, c);
        }
    }
}

static void paintTrimStrip(Image& image) {
    int x0 = (int)(image.width * SHUTTER_UV.u0);
    for (int y = image.height / 2; y < image.height; y++) {
        float v = (float)y / image.height;
        for (int x = x0; x < image.width; x++) {
            float u = (float)x / image.width;
            float n = tileNoise(u, v, 32, 3, 54);
            Rgb c;
            if (v < SHUTTER_UV.v1) {
                c = rgbMix(Rgb{0.20f, 0.38f, 0.30f}, Rgb{0.12f, 0.24f, 0.19f}, 0.5f + 0.5f * n);
                if (y % 12 == 0)
                    c = rgbScale(c, 0.6f); // louvres
            } else if (v < DARK_WOOD_UV.v1) {
                c = rgbMix(Rgb{0.40f, 0.27f, 0.16f}, Rgb{0.26f, 0.17f, 0.10f}, 0.5f + 0.5f * n);
            } else {
                int course = y / 8;
                bool mortar = y % 8 == 0 || (x + (course % 2) * 8) % 16 == 0;
                c = mortar ? Rgb{0.70f, 0.66f, 0.60f}
                           : rgbMix(Rgb{0.62f, 0.25f, 0.18f}, Rgb{0.42f, 0.17f, 0.12f},
                                    0.5f + 0.5f * n);
            }
            imagePut(image, x, y, c);
        }
    }
}

static void paintWalls(Image& image) {
    int w = image.width, h = image.height, boardH = h / 40;
    for (int y = 0; y < h / 2; y++) {
        for (int x = 0; x < w; x++) {
            float u = (float)x / w, v = (float)y / h;
            float n = tileNoise(u, v, 16, 4, 53);
            Rgb c = rgbMix(Rgb{0.86f, 0.80f, 0.66f}, Rgb{0.62f, 0.52f, 0.40f}, 0.3f + 0.35f * n);
            if (y % boardH < 1)
                c = rgbScale(c, 0.55f); // the lap of each board
            if (v < OPENINGS[0].v0)
                c = rgbMix(c, Rgb{0.55f, 0.42f, 0.28f}, 0.6f); // sand-stained foot of the wall
            imagePut(image, x, y, c);
        }
    }
}

static void paintOpening(Image& image, const Opening& opening) {
    int w = image.width, h = image.height;
    int x0 = (int)(opening.u0 * w), x1 = (int)(opening.u1 * w);
    int y0 = (int)(opening.v0 * h), y1 = (int)(opening.v1 * h);
    for (int y = y0 - 4; y < y1 + 4; y++) {
        for (int x = x0 - 4; x < x1 + 4; x++) {
            bool frame = x < x0 || x >= x1 || y < y0 || y >= y1;
            float fx = (float)(x - x0) / (x1 - x0), fy = (float)(y - y0) / (y1 - y0);
            Rgb c;
            if (frame)
                c = Rgb{0.30f, 0.20f, 0.13f};
            else if (opening.door)
                c = rgbMix(Rgb{0.45f, 0.26f, 0.14f}, Rgb{0.30f, 0.17f, 0.09f},
                           fabsf(sinf(fx * 3.14159f * 4)) * 0.6f);
            else if (fabsf(fx - 0.5f) < 0.04f || fabsf(fy - 0.5f) < 0.04f)
                c = Rgb{0.30f, 0.20f, 0.13f}; // glazing bars
            else
                c = rgbMix(Rgb{0.10f, 0.14f, 0.20f}, Rgb{0.45f, 0.55f, 0.62f},
                           fy * 0.6f + fx * 0.2f);
            if (opening.door && !frame && fabsf(fx - 0.8f) < 0.05f && fabsf(fy - 0.5f) < 0.03f)
                c = Rgb{0.85f, 0.75f, 0.3f}; // knob
            imagePut(image, x, y, c);
        }
    }
}

void paintHouseRoofTexture(Image& image) {
    paintShingles(image);
    paintTrimStrip(image);
    paintWalls(image);
    for (const Opening& opening : OPENINGS)
        paintOpening(image, opening);
}
