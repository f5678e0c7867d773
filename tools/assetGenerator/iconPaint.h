#pragma once
// The application icon for desktop menus: a small desert view in a rounded square, painted
// from the scene's own sand and cactus textures.
#include <vector>

static const int MIN_ICON_SIZE = 16, MAX_ICON_SIZE = 1024; // pixels

// size x size RGBA pixels, top row first (as PNG stores them); outside the rounded square
// alpha is 0. size: MIN_ICON_SIZE..MAX_ICON_SIZE.
void paintIcon(int size, std::vector<unsigned char>& rgba);
// A PNG of paintIcon(size) at path; false with a message for a size outside the range or a file
// that cannot be written.
bool writeIcon(int size, const char* path);
