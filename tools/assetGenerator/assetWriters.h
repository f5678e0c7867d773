#pragma once
// Writes generated meshes and images in the formats the demo reads.
#include "image.h"
#include "modelMesh.h"

// One mesh in a 3D Studio file (points, faces, mapping coordinates); false with a message when
// the mesh exceeds a 16-bit list or the file cannot be written.
bool writeModel3ds(const ModelMesh& mesh, const char* meshName, const char* path);
// Uncompressed 24-bit BMP, bottom row first.
bool writeBitmap(const Image& image, const char* path);
// Headerless RGB bytes, bottom row first.
bool writeRawImage(const Image& image, const char* path);
