#pragma once
#include <string>

// Loads the whole scene from resDir and writes scene-*.png views of it into outDir: from above,
// from the demo's start camera, and from viewpoints the script's later shots resemble.
bool renderSceneViews(const std::string& resDir, const std::string& outDir, int width, int height);
