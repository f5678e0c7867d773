#pragma once
#include <cstddef>

#include "scene/sceneStore.h"

// Reads one mesh of a 3DS file straight into object (name, vertices, faces, mapping coordinates).
// True when the file was walked to its end; false for a null path or a file that cannot be opened,
// in which case object is untouched.
bool load3dsFile(SceneObject* object, const char* path);

// The walk itself over a file already in memory; writes only what the file holds into object.
// Chunks it steps into and data chunks never use their length. Malformed chunks (a skipped one
// shorter than its header or reaching past the end, a cut-off list) end the walk with a warning on
// stderr naming pathForMessages (may be null). Always true: a damaged file yields what could be
// read before the damage.
bool parse3dsChunks(const unsigned char* data, size_t size, SceneObject* object,
                    const char* pathForMessages);
