#pragma once
#include "scene/sceneStore.h"

// Reads one mesh of a 3DS file straight into object (name, vertices, faces, mapping coordinates).
// True when the file was walked to its end; false for a null path or a file that cannot be opened,
// in which case object is untouched.
bool load3dsFile(SceneObject* object, const char* path);
