#pragma once

// Source of bitmap texture names; starts at -1 so the first bitmap gets name 0.
extern int bitmapTextureCounter;

// Uploads a 24-bit BMP as a mipmapped RGBA texture; its name, or -1 on failure (every call,
// failed ones too, uses up one name).
int loadBitmapTexture(const char* path);
// Uploads a headerless RGB file as a mipmapped RGB texture; its glGenTextures name, or 0.
unsigned int loadRawTexture(const char* path, int width, int height);
