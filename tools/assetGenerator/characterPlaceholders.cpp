// Stand-in shapes for the rake, the figures and the bird until their own builders exist.
#include "assetCatalog.h"
#include "texturePaint.h"

// ---- helpers ----
static void buildFigure(ModelMesh& mesh, float height);
static void paintFlat(Image& image, Rgb base, int seed);

static void buildFigure(ModelMesh& mesh, float height) {
    makeLathe(mesh, {0, 1.6f, 1.9f, 1.4f, 0},
              {0, 0.2f, height * 0.5f, height * 0.8f, height * 0.82f}, 12, UvRect{0, 0, 1, 0.8f});
    ModelMesh head;
    makeEllipsoid(head, 1.1f, 1.3f, 1.1f, 12, 8, UvRect{0, 0.8f, 1, 1});
    appendMesh(mesh, head, xformTranslate(0, height * 0.9f, 0));
}

static void paintFlat(Image& image, Rgb base, int seed) {
    for (int y = 0; y < image.height; y++)
        for (int x = 0; x < image.width; x++)
            imagePut(image, x, y,
                     rgbScale(base, 1 + 0.2f * tileNoise((float)x / image.width,
                                                         (float)y / image.height, 8, 3, seed)));
}

void buildRakeModel(ModelMesh& mesh) {
    makeTube(mesh, {-7, -6, -7, 7, 1, 7}, {0.25f, 0.25f}, 8, FULL_UV);
    ModelMesh head;
    makeBox(head, 6, 0.6f, 0.8f, FULL_UV);
    appendMesh(mesh, head, xformThen(xformRotateY(-45), xformTranslate(-7, -6, -7)));
}

void buildGirlModel(ModelMesh& mesh) {
    buildFigure(mesh, 12.5f);
}

void buildGuyModel(ModelMesh& mesh) {
    buildFigure(mesh, 13.5f);
}

void buildHeroModel(ModelMesh& mesh) {
    buildFigure(mesh, 14);
}

void buildCockatooModel(ModelMesh& mesh) {
    makeEllipsoid(mesh, 1.0f, 1.2f, 2.2f, 12, 8, FULL_UV);
    for (MeshVertex& v : mesh.vertices)
        v.y += 1.5f;
}

void paintWoodTexture(Image& image) {
    paintPlanks(image, 0, 0, image.width, image.height, image.height, Rgb{0.6f, 0.42f, 0.25f},
                Rgb{0.35f, 0.22f, 0.12f}, 81);
}

void paintGirlTexture(Image& image) {
    paintFlat(image, Rgb{0.7f, 0.3f, 0.35f}, 82);
}

void paintGuyTexture(Image& image) {
    paintFlat(image, Rgb{0.3f, 0.4f, 0.6f}, 83);
}

void paintHeroTexture(Image& image) {
    paintFlat(image, Rgb{0.5f, 0.4f, 0.3f}, 84);
}

void paintCockatooTexture(Image& image) {
    paintFlat(image, Rgb{0.9f, 0.9f, 0.85f}, 85);
}
