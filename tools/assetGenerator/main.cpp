// generateAssets <res directory>: writes every model, bitmap and raw image the demo loads.
// generateAssets --icon <size> <png>: writes the desktop icon, size x size pixels.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "assetCatalog.h"
#include "assetWriters.h"
#include "iconPaint.h"

struct ModelAsset {
    const char* fileName;
    const char* meshName;
    void (*build)(ModelMesh& mesh);
    int sceneRows; // how many rows of the scene list load it
};

struct TextureAsset {
    const char* fileName;
    int size; // square, a power of two
    void (*paint)(Image& image);
};

static const ModelAsset MODELS[] = {
    {"desert.3ds", "desert", buildDesertModel, 1},
    {"rock.3ds", "rock", buildRockModel, 1},
    {"bigrock.3ds", "bigrock", buildBigRockModel, 1},
    {"rechen.3ds", "rechen", buildRakeModel, 1},
    {"Girl.3ds", "Girl", buildGirlModel, 1},
    {"Guy.3ds", "Guy", buildGuyModel, 1},
    {"Held.3ds", "Held", buildHeroModel, 1},
    {"cactus.3ds", "cactus", buildCactusModel, 2},
    {"wagenneu1.3ds", "wagen", buildWagonModel, 1},
    {"haus.3ds", "haus", buildHouseModel, 1},
    {"fence.3ds", "fence", buildFenceModel, 8},
    {"kakadu.3ds", "kakadu", buildCockatooModel, 1},
    {"lira.3ds", "lira", buildLyreModel, 1},
};

static const TextureAsset BITMAPS[] = {
    {"desert.bmp", 512, paintDesertTexture},
    {"rock.bmp", 256, paintRockTexture},
    {"wood.bmp", 256, paintWoodTexture},
    {"Girl.bmp", 512, paintGirlTexture},
    {"Guy.bmp", 512, paintGuyTexture},
    {"Wil1.bmp", 512, paintHeroTexture},
    {"cactus1.bmp", 256, paintCactusTexture},
    {"planks04.bmp", 256, paintPlanksTexture},
    {"houseroof.bmp", 512, paintHouseRoofTexture},
    {"fence1.bmp", 256, paintFenceTexture},
    {"kakadu2.bmp", 256, paintCockatooTexture},
    {"lira.bmp", 256, paintLyreTexture},
};

static const TextureAsset RAW_IMAGES[] = {
    {"particle_mask.raw", 256, paintParticleMask},
    {"particle.raw", 256, paintParticleGlow},
};

// ---- helpers ----
static bool writeModels(const std::string& dir);
static bool writeTextures(const std::string& dir);

static bool writeModels(const std::string& dir) {
    bool ok = true;
    size_t sceneTriangles = 0;
    for (const ModelAsset& asset : MODELS) {
        ModelMesh mesh;
        asset.build(mesh);
        std::string path = dir + "/" + asset.fileName;
        ok = writeModel3ds(mesh, asset.meshName, path.c_str()) && ok;
        printf("%-18s %6zu triangles %6zu vertices\n", asset.fileName, mesh.faces.size(),
               mesh.vertices.size());
        sceneTriangles += mesh.faces.size() * asset.sceneRows;
    }
    printf("%-18s %6zu triangles\n", "scene (21 rows)", sceneTriangles);
    return ok;
}

static bool writeTextures(const std::string& dir) {
    bool ok = true;
    for (const TextureAsset& asset : BITMAPS) {
        Image image;
        imageCreate(image, asset.size, asset.size);
        asset.paint(image);
        ok = writeBitmap(image, (dir + "/" + asset.fileName).c_str()) && ok;
    }
    for (const TextureAsset& asset : RAW_IMAGES) {
        Image image;
        imageCreate(image, asset.size, asset.size);
        asset.paint(image);
        ok = writeRawImage(image, (dir + "/" + asset.fileName).c_str()) && ok;
    }
    return ok;
}

int main(int argc, char** argv) {
    if (argc == 4 && strcmp(argv[1], "--icon") == 0) {
        char* end;
        long size = strtol(argv[2], &end, 10);
        if (*argv[2] == '\0' || *end != '\0' || size < MIN_ICON_SIZE || size > MAX_ICON_SIZE) {
            fprintf(stderr, "generateAssets: icon size must be %d..%d, not '%s'\n", MIN_ICON_SIZE,
                    MAX_ICON_SIZE, argv[2]);
            return 2;
        }
        return writeIcon((int)size, argv[3]) ? 0 : 1;
    }
    if (argc != 2) {
        fprintf(stderr, "usage: generateAssets <res directory>\n"
                        "       generateAssets --icon <size> <png file>\n");
        return 2;
    }
    auto start = std::chrono::steady_clock::now();
    std::string dir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) {
        fprintf(stderr, "generateAssets: cannot create %s: %s\n", dir.c_str(),
                error.message().c_str());
        return 1;
    }
    bool ok = writeModels(dir);
    ok = writeTextures(dir) && ok;
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    printf("generated %s in %.2f s\n", dir.c_str(), seconds);
    return ok ? 0 : 1;
}
