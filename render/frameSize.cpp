#include "render/frameSize.h"

int windowWidth = 640;  // pixels
int windowHeight = 480; // pixels
