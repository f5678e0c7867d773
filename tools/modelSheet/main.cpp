// modelSheet [output directory]: renders every generated model alone from four sides (one PNG per
// model and a contact sheet of all), and the assembled scene from a few viewpoints.
#include <GL/glew.h>
#include <GL/freeglut.h>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "scene/load3ds.h"
#include "scene/textureLoaders.h"
#include "scene/vertexNormals.h"
#include "tools/modelSheet/sceneViews.h"
#include "tools/modelSheet/sheetGl.h"

struct SheetModel {
    const char* model;
    const char* bitmap;
    bool zUp;          // authored in 3D Studio's frame, stood upright for viewing
    float framedReach; // > 0: the views frame only the points this close to the model's
                       // origin across the ground, and the rest runs on to the horizon
};

static const SheetModel MODELS[] = {
    // The desert's fine grid lies within about 450 of its origin; its rings reach 30,000.
    {"desert.3ds", "desert.bmp", true, 450},    {"rock.3ds", "rock.bmp", true, 0},
    {"bigrock.3ds", "rock.bmp", true, 0},       {"rechen.3ds", "wood.bmp", false, 0},
    {"Girl.3ds", "Girl.bmp", false, 0},         {"Guy.3ds", "Guy.bmp", false, 0},
    {"Held.3ds", "Wil1.bmp", false, 0},         {"cactus.3ds", "cactus1.bmp", false, 0},
    {"wagenneu1.3ds", "planks04.bmp", true, 0}, {"haus.3ds", "houseroof.bmp", true, 0},
    {"fence.3ds", "fence1.bmp", true, 0},       {"kakadu.3ds", "kakadu2.bmp", false, 0},
    {"lira.3ds", "lira.bmp", true, 0},
};
static const int MODEL_COUNT = sizeof MODELS / sizeof MODELS[0];

static const int CELL = 384;       // pixels per view in a model's own sheet
static const int SHEET_CELL = 192; // pixels per view in the contact sheet
static const int SHEET_COLUMNS = 2;
static const int WINDOW_W = 1024, WINDOW_H = 768;

static SceneObject sheetObject; // one model at a time

// ---- helpers ----
static bool renderModel(const SheetModel& entry, const std::string& resDir, Pixels& strip);
static void halve(const Pixels& src, Pixels& out);
static void label(const char* text, int width, int height);

// Black text in the top-left corner of the current viewport.
static void label(const char* text, int width, int height) {
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3f(0, 0, 0);
    glRasterPos2i(6, height - 20);
    glutBitmapString(GLUT_BITMAP_HELVETICA_18, (const unsigned char*)text);
    glColor3f(1, 1, 1);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
}

static bool renderModel(const SheetModel& entry, const std::string& resDir, Pixels& strip) {
    memset(&sheetObject, 0, sizeof sheetObject);
    std::string modelPath = resDir + "/" + entry.model, bitmapPath = resDir + "/" + entry.bitmap;
    if (!load3dsFile(&sheetObject, modelPath.c_str())) {
        fprintf(stderr, "modelSheet: cannot read %s\n", modelPath.c_str());
        return false;
    }
    computeVertexNormals(&sheetObject);
    sheetObject.textureId = loadBitmapTexture(bitmapPath.c_str());
    // Bounds in the upright frame: z-up models have their model z along the screen's up.
    float lo[3] = {1e30f, 1e30f, 1e30f}, hi[3] = {-1e30f, -1e30f, -1e30f}, farthest = 0;
    for (int i = 0; i < sheetObject.vertexCount; i++) {
        const Vec3f& v = sheetObject.vertices[i];
        float p[3] = {v.x, entry.zUp ? v.z : v.y, entry.zUp ? -v.y : v.z};
        float across = hypotf(p[0], p[2]);
        farthest = fmaxf(farthest, across);
        if (entry.framedReach > 0 && across > entry.framedReach)
            continue;
        for (int k = 0; k < 3; k++) {
            lo[k] = fminf(lo[k], p[k]);
            hi[k] = fmaxf(hi[k], p[k]);
        }
    }
    float centre[3], radius = 0;
    for (int k = 0; k < 3; k++) {
        centre[k] = (lo[k] + hi[k]) / 2;
        radius += (hi[k] - lo[k]) * (hi[k] - lo[k]) / 4;
    }
    radius = sqrtf(radius);
    // Lower over ground that runs on, so that its horizon shows.
    const float fov = 30, elevation = (entry.framedReach > 0 ? 8 : 20) * 3.14159265f / 180;
    float distance = radius / sinf(fov / 2 * 3.14159265f / 180) * 1.02f;
    createPixels(CELL * 4, CELL, strip);
    for (int view = 0; view < 4; view++) {
        float yaw = view * 3.14159265f / 2; // front (+z), right (+x), back, left
        beginView(0, 0, CELL, CELL);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(fov, 1, distance * 0.05f, fmaxf(distance * 4, farthest * 2));
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        const float light[] = {-0.4f, 0.7f, 0.6f, 0}; // over the viewer's left shoulder
        glLightfv(GL_LIGHT0, GL_POSITION, light);
        gluLookAt(centre[0] + distance * sinf(yaw) * cosf(elevation),
                  centre[1] + distance * sinf(elevation),
                  centre[2] + distance * cosf(yaw) * cosf(elevation), centre[0], centre[1],
                  centre[2], 0, 1, 0);
        if (entry.zUp)
            glRotatef(-90, 1, 0, 0);
        drawObject(sheetObject);
        char text[96];
        static const char* const SIDES[4] = {"front +z", "right +x", "back -z", "left -x"};
        snprintf(text, sizeof text, "%s  %s  %d tris", entry.model, SIDES[view],
                 sheetObject.polygonCount);
        label(text, CELL, CELL);
        Pixels cell;
        readView(0, 0, CELL, CELL, cell);
        pastePixels(cell, view * CELL, 0, strip);
    }
    return true;
}

static void halve(const Pixels& src, Pixels& out) {
    createPixels(src.width / 2, src.height / 2, out);
    for (int y = 0; y < out.height; y++)
        for (int x = 0; x < out.width; x++)
            for (int c = 0; c < 3; c++) {
                int sum = 0;
                for (int dy = 0; dy < 2; dy++)
                    for (int dx = 0; dx < 2; dx++)
                        sum += src.rgb[((size_t)(2 * y + dy) * src.width + 2 * x + dx) * 3 + c];
                out.rgb[((size_t)y * out.width + x) * 3 + c] = (unsigned char)(sum / 4);
            }
}

int main(int argc, char** argv) {
    std::string outDir = argc > 1 ? argv[1] : "model-sheets";
    std::string resDir = DUSTRIDERS_RUN_DIR "/res";
    std::filesystem::create_directories(outDir);
    openSheetWindow(WINDOW_W, WINDOW_H);
    Pixels sheet;
    int sheetRows = (MODEL_COUNT + SHEET_COLUMNS - 1) / SHEET_COLUMNS;
    createPixels(SHEET_CELL * 4 * SHEET_COLUMNS, SHEET_CELL * sheetRows, sheet);
    bool ok = true;
    for (int i = 0; i < MODEL_COUNT; i++) {
        Pixels strip, small;
        if (!renderModel(MODELS[i], resDir, strip)) {
            ok = false;
            continue;
        }
        std::string name = MODELS[i].model;
        ok = writePng(strip, outDir + "/" + name.substr(0, name.size() - 4) + ".png") && ok;
        halve(strip, small);
        pastePixels(small, (i % SHEET_COLUMNS) * SHEET_CELL * 4, (i / SHEET_COLUMNS) * SHEET_CELL,
                    sheet);
    }
    ok = writePng(sheet, outDir + "/contact-sheet.png") && ok;
    ok = renderSceneViews(resDir, outDir, WINDOW_W, WINDOW_H) && ok;
    printf("%s/contact-sheet.png\n", outDir.c_str());
    return ok ? 0 : 1;
}
