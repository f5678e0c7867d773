#pragma once
#include <cstddef>

// Reads a whole file with one fread into a malloc'd buffer (freed by the caller with free).
// False when the file cannot be opened or read; *data is then null.
bool readFileBytes(const char* path, unsigned char** data, size_t* size);
