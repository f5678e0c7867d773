// A clapboard house with a gabled roof, a chimney and a porch. houseroof.bmp is its only texture:
// shingles in the top half, the front wall (door, windows) and side wall in the bottom half.
#include <cmath>

#include "assetCatalog.h"
#include "terrain.h"
#include "texturePaint.h"

static const UvRect ROOF_UV = {0, 0.5f, 1, 1};
static const UvRect FRONT_UV = {0, 0, 0.5f, 0.5f};
static const UvRect SIDE_UV = {0.5f, 0, 1, 0.5f};
static const UvRect PLAIN_WALL_UV = {0.52f, 0.4f, 0.98f, 0.48f}; // clapboard without windows

static const float WIDTH = 30, DEPTH = 22, WALL = 15, RIDGE = 26, OVERHANG = 1.6f;
static const float BURY = 3; // walls reach below the sand

// ---- helpers ----
static void addWall(ModelMesh& mesh, const float* corners, UvRect uv);
static void addBoxAt(ModelMesh& mesh, float sx, float sy, float sz, const Xform& place, UvRect uv);

// corners: bottom-left, bottom-right, top-right, top-left as seen from outside (x, y, z each).
static void addWall(ModelMesh& mesh, const float* corners, UvRect uv) {
    const float us[4] = {uv.u0, uv.u1, uv.u1, uv.u0}, vs[4] = {uv.v0, uv.v0, uv.v1, uv.v1};
    int idx[4];
    for (int k = 0; k < 4; k++)
        idx[k] =
            addVertex(mesh, corners[k * 3], corners[k * 3 + 1], corners[k * 3 + 2], us[k], vs[k]);
    addQuad(mesh, idx[0], idx[1], idx[2], idx[3]);
}

static void addBoxAt(ModelMesh& mesh, float sx, float sy, float sz, const Xform& place, UvRect uv) {
    ModelMesh box;
    makeBox(box, sx, sy, sz, uv);
    appendMesh(mesh, box, place);
}

void buildHouseModel(ModelMesh& mesh) {
    // Built y up with the front (door) toward +z, which the row turns to face the camera.
    ModelMesh house;
    const float x = WIDTH / 2, z = DEPTH / 2, b = -BURY;
    const float front[] = {-x, b, z, x, b, z, x, WALL, z, -x, WALL, z};
    const float back[] = {x, b, -z, -x, b, -z, -x, WALL, -z, x, WALL, -z};
    const float right[] = {x, b, z, x, b, -z, x, WALL, -z, x, WALL, z};
    const float left[] = {-x, b, -z, -x, b, z, -x, WALL, z, -x, WALL, -z};
    addWall(house, front, FRONT_UV);
    addWall(house, back, SIDE_UV);
    addWall(house, right, SIDE_UV);
    addWall(house, left, SIDE_UV);
    // Gables under the roof ends.
    for (int side = -1; side <= 1; side += 2) {
        float gx = side * x;
        int a = addVertex(house, gx, WALL, side * z, PLAIN_WALL_UV.u0, PLAIN_WALL_UV.v0);
        int c = addVertex(house, gx, WALL, -side * z, PLAIN_WALL_UV.u1, PLAIN_WALL_UV.v0);
        int apex = addVertex(house, gx, RIDGE, 0, (PLAIN_WALL_UV.u0 + PLAIN_WALL_UV.u1) / 2,
                             PLAIN_WALL_UV.v1);
        addTriangle(house, a, c, apex);
    }
    // Roof: two slabs from the ridge down past the eaves.
    float rise = RIDGE - WALL, run = z;
    float slope = atan2f(rise, run) * 180 / 3.14159265f;
    float length = hypotf(rise, run) + OVERHANG;
    for (int side = -1; side <= 1; side += 2) {
        // Slab lying along +z from the ridge, tilted down, then mirrored for the back.
        Xform slab = xformThen(xformTranslate(0, 0.3f, length / 2), xformRotateX(slope));
        slab = xformThen(slab, xformTranslate(0, RIDGE, 0));
        if (side < 0)
            slab = xformThen(slab, xformScale(1, 1, -1));
        addBoxAt(house, WIDTH + 2 * OVERHANG, 0.6f, length, slab, ROOF_UV);
    }
    addBoxAt(house, 2.6f, 8, 2.6f, xformTranslate(8, RIDGE - 1, -4.5f), PLAIN_WALL_UV); // chimney
    // Porch: deck, two posts and a lean-to roof over the door.
    addBoxAt(house, 14, 1.2f, 5, xformTranslate(0, 0.2f, z + 2.5f), PLAIN_WALL_UV);
    for (int side = -1; side <= 1; side += 2)
        addBoxAt(house, 0.6f, 9.5f, 0.6f, xformTranslate(side * 6.5f, 5.4f, z + 4.5f),
                 PLAIN_WALL_UV);
    addBoxAt(house, 15, 0.4f, 6, xformThen(xformRotateX(12), xformTranslate(0, 10.4f, z + 2.8f)),
             ROOF_UV);
    convertYUpToZUp(house);
    // The row stands at y = 50; the sand under the house is lower.
    float ground = sandHeight(80, -150);
    appendMesh(mesh, house, xformTranslate(0, 0, ground - 50));
}

void paintHouseRoofTexture(Image& image) {
    int w = image.width, h = image.height;
    int half = h / 2;
    // Shingles: staggered rows of weathered cedar.
    int rowH = h / 32;
    for (int y = half; y < h; y++) {
        int row = (y - half) / rowH, inRow = (y - half) % rowH;
        for (int x = 0; x < w; x++) {
            float u = (float)x / w, v = (float)y / h;
            int shingleW = w / 16;
            int col = (x + (row % 2) * shingleW / 2) / shingleW;
            int inCol = (x + (row % 2) * shingleW / 2) % shingleW;
            float tone = 0.8f + 0.2f * tileNoise(col * 0.137f, row * 0.071f, 4, 1, 51);
            float n = tileNoise(u, v, 64, 2, 52);
            Rgb c = rgbScale(
                rgbMix(Rgb{0.55f, 0.30f, 0.20f}, Rgb{0.35f, 0.22f, 0.17f}, 0.5f + 0.4f * n), tone);
            if (inRow < 2 || inCol == 0)
                c = rgbScale(c, 0.45f); // shadow line under each row and between shingles
            imagePut(image, x, y, c);
        }
    }
    // Walls: painted clapboard, weathered.
    int boardH = h / 40;
    for (int y = 0; y < half; y++) {
        for (int x = 0; x < w; x++) {
            float u = (float)x / w, v = (float)y / h;
            float n = tileNoise(u, v, 16, 4, 53);
            Rgb c = rgbMix(Rgb{0.86f, 0.80f, 0.66f}, Rgb{0.62f, 0.52f, 0.40f}, 0.3f + 0.35f * n);
            if (y % boardH < 1)
                c = rgbScale(c, 0.55f);
            imagePut(image, x, y, c);
        }
    }
    // Door in the middle of the front region, windows either side; two windows on the side wall.
    struct Hole {
        float u0, v0, u1, v1;
        bool door;
    };
    const Hole holes[] = {
        {0.205f, 0.0f, 0.295f, 0.34f, true}, {0.05f, 0.15f, 0.14f, 0.33f, false},
        {0.36f, 0.15f, 0.45f, 0.33f, false}, {0.58f, 0.15f, 0.68f, 0.33f, false},
        {0.82f, 0.15f, 0.92f, 0.33f, false},
    };
    for (const Hole& hole : holes) {
        int x0 = (int)(hole.u0 * w), x1 = (int)(hole.u1 * w);
        int y0 = (int)(hole.v0 * h), y1 = (int)(hole.v1 * h);
        for (int y = y0 - 4; y < y1 + 4; y++) {
            for (int x = x0 - 4; x < x1 + 4; x++) {
                bool frame = x < x0 || x >= x1 || y < y0 || y >= y1;
                float fx = (float)(x - x0) / (x1 - x0), fy = (float)(y - y0) / (y1 - y0);
                Rgb c;
                if (frame)
                    c = Rgb{0.30f, 0.20f, 0.13f};
                else if (hole.door)
                    c = rgbMix(Rgb{0.45f, 0.26f, 0.14f}, Rgb{0.30f, 0.17f, 0.09f},
                               fabsf(sinf(fx * 3.14159f * 4)) * 0.6f);
                else if (fabsf(fx - 0.5f) < 0.04f || fabsf(fy - 0.5f) < 0.04f)
                    c = Rgb{0.30f, 0.20f, 0.13f}; // glazing bars
                else
                    c = rgbMix(Rgb{0.10f, 0.14f, 0.20f}, Rgb{0.35f, 0.45f, 0.55f},
                               fy * 0.6f + fx * 0.2f);
                if (hole.door && !frame && fabsf(fx - 0.8f) < 0.05f && fabsf(fy - 0.5f) < 0.03f)
                    c = Rgb{0.85f, 0.75f, 0.3f}; // knob
                imagePut(image, x, y, c);
            }
        }
    }
}
