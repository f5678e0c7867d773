#pragma once

// The pass views' close crop for the scene as it stands, around the girl's feet (render/
// passViewGeometry.h); false, leaving x and y, when her model did not load.
bool sceneStripCrop(int& x, int& y);
