// The sand: a fine height-field grid where the scene stands, coarse rings around it out to far
// beyond the far plane, the skyline of mesas and buttes on them, and the tiling sand texture.
// Nothing lies under the sand: the frame keeps the eye's near plane above it.
#include <cmath>
#include <vector>

#include "assetCatalog.h"
#include "skyline.h"
#include "terrain.h"
#include "texturePaint.h"

static const int GRID_X = 56, GRID_Z = 44; // cells; two triangles each
static const float TEXTURE_TILE = 90;      // world units per repeat of desert.bmp, everywhere

// Outer edges of the rings, in units beyond the fine grid's edge: a few narrow ones where the
// dunes die out, then each about twice as wide as the one inside it, and a last wide one over
// the level plain. Every ring triangle costs as much to send as a grid triangle, so there are
// few. The last reaches 62,000: every point within 20,000 of the scene sees sand up to the far
// plane (40,000) in every direction.
static const float RING_OFFSETS[] = {24,   56,   100,  180,  330,   600,
                                     1100, 2000, 3600, 6500, 12000, 62000};
// Rings from this one on carry half as many points as those inside: two grid cells per segment
// on the first rings, four on the others.
static const int FIRST_SPARSE_RING = 3;

// A closed loop of vertex indices around the grid, in the order gridBoundary gives.
typedef std::vector<int> Loop;

struct Facing {
    float x, y, z;
};
static const Facing UP = {0, 1, 0};

// ---- helpers ----
static void addSandVertex(ModelMesh& world, float x, float z);
static void addFacingTriangle(ModelMesh& world, int a, int b, int c, Facing facing);
static Loop gridBoundary();
static Loop addRingLoop(ModelMesh& world, float offset, int cellsPerSegment);
static void stitchRing(ModelMesh& world, const Loop& inner, const Loop& outer);

// Texture coordinates follow world x and z, so the sand keeps one scale from the grid to the
// horizon.
static void addSandVertex(ModelMesh& world, float x, float z) {
    addVertex(world, x, sandHeight(x, z), z, x / TEXTURE_TILE, -z / TEXTURE_TILE);
}

// Front side toward `facing`, whatever order the corners come in.
static void addFacingTriangle(ModelMesh& world, int a, int b, int c, Facing facing) {
    const MeshVertex &p = world.vertices[a], &q = world.vertices[b], &r = world.vertices[c];
    float ux = q.x - p.x, uy = q.y - p.y, uz = q.z - p.z;
    float vx = r.x - p.x, vy = r.y - p.y, vz = r.z - p.z;
    float toward = (uy * vz - uz * vy) * facing.x + (uz * vx - ux * vz) * facing.y +
                   (ux * vy - uy * vx) * facing.z;
    if (toward > 0)
        addTriangle(world, a, b, c);
    else
        addTriangle(world, a, c, b);
}

// The grid's edge vertices: along the -z edge toward +x, the +x edge toward +z, the +z edge back
// toward -x, the -x edge back toward -z.
static Loop gridBoundary() {
    Loop loop;
    for (int i = 0; i < GRID_X; i++)
        loop.push_back(i);
    for (int j = 0; j < GRID_Z; j++)
        loop.push_back(j * (GRID_X + 1) + GRID_X);
    for (int i = GRID_X; i > 0; i--)
        loop.push_back(GRID_Z * (GRID_X + 1) + i);
    for (int j = GRID_Z; j > 0; j--)
        loop.push_back(j * (GRID_X + 1));
    return loop;
}

// The grid's edge moved out by offset, one vertex every cellsPerSegment grid cells, in the order
// of gridBoundary.
static Loop addRingLoop(ModelMesh& world, float offset, int cellsPerSegment) {
    float x0 = DESERT_MIN_X - offset, x1 = DESERT_MAX_X + offset;
    float z0 = DESERT_MIN_Z - offset, z1 = DESERT_MAX_Z + offset;
    const float corners[5][2] = {{x0, z0}, {x1, z0}, {x1, z1}, {x0, z1}, {x0, z0}};
    const int cells[4] = {GRID_X, GRID_Z, GRID_X, GRID_Z};
    Loop loop;
    for (int side = 0; side < 4; side++) {
        for (int i = 0; i < cells[side]; i += cellsPerSegment) {
            float t = (float)i / cells[side];
            float x = corners[side][0] + (corners[side + 1][0] - corners[side][0]) * t;
            float z = corners[side][1] + (corners[side + 1][1] - corners[side][1]) * t;
            loop.push_back((int)world.vertices.size());
            addSandVertex(world, x, z);
        }
    }
    return loop;
}

// Fills the band between two loops; the inner one has the same or twice the number of points.
static void stitchRing(ModelMesh& world, const Loop& inner, const Loop& outer) {
    int n = (int)outer.size(), ratio = (int)(inner.size() / outer.size());
    int m = (int)inner.size();
    for (int s = 0; s < n; s++) {
        int out0 = outer[s], out1 = outer[(s + 1) % n];
        int first = s * ratio;
        // The first half of the inner segments fans to one outer point, the rest to the next.
        for (int t = 0; t < ratio; t++) {
            int in0 = inner[(first + t) % m], in1 = inner[(first + t + 1) % m];
            addFacingTriangle(world, in0, in1, t < ratio / 2 ? out0 : out1, UP);
        }
        addFacingTriangle(world, inner[(first + ratio / 2) % m], out1, out0, UP);
    }
}

void buildDesertModel(ModelMesh& mesh) {
    ModelMesh world;
    for (int j = 0; j <= GRID_Z; j++) {
        float z = DESERT_MIN_Z + (DESERT_MAX_Z - DESERT_MIN_Z) * j / GRID_Z;
        for (int i = 0; i <= GRID_X; i++)
            addSandVertex(world, DESERT_MIN_X + (DESERT_MAX_X - DESERT_MIN_X) * i / GRID_X, z);
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
    // The rings share the grid's edge vertices: no crack can open between them.
    Loop inner = gridBoundary();
    int ringCount = sizeof(RING_OFFSETS) / sizeof(RING_OFFSETS[0]);
    for (int ring = 0; ring < ringCount; ring++) {
        Loop outer = addRingLoop(world, RING_OFFSETS[ring], ring < FIRST_SPARSE_RING ? 2 : 4);
        stitchRing(world, inner, outer);
        inner = outer;
    }
    addSkyline(world);
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
