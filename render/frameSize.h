#pragma once
// The size in pixels the frame draws at: the window's, kept by its reshape (app/window.h).
extern int windowWidth;
extern int windowHeight;
