#pragma once
// Window, drawing and read-back for the model-sheet tool.
#include <string>
#include <vector>

#include "scene/sceneStore.h"

struct Pixels {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb; // top row first, as PNG stores it
};

// Opens the one GL window all views are drawn in.
void openSheetWindow(int width, int height);
// Clears the viewport's region to a neutral sky and sets it as the viewport.
void beginView(int x, int y, int width, int height);
// Draws an object's triangles with its normals, mapping and texture (none when textureId < 0),
// under whatever projection and modelview are current.
void drawObject(const SceneObject& object);
// Copies a region of the back buffer.
void readView(int x, int y, int width, int height, Pixels& out);
// Copies src into dst with its top-left corner at (x, y).
void pastePixels(const Pixels& src, int x, int y, Pixels& dst);
void createPixels(int width, int height, Pixels& out);
bool writePng(const Pixels& pixels, const std::string& path);
