#pragma once
// The Windows implementation's two conversions, offered to its tests.
#include <cstdint>

const int ERROR_TEXT_CAPACITY = 1024; // UTF-16 units of a box's text, terminator included

// Converts zero-terminated UTF-8 into zero-terminated UTF-16 in out (capacity units, at least 1);
// a text too long is cut at a whole character. Returns the units written before the terminator.
int utf8ToUtf16(const char* text, wchar_t* out, int capacity);

// True for the results of wglGetProcAddress that mean "no such function": some drivers answer
// 1, 2, 3 or -1 instead of null.
bool isMissingWglAddress(intptr_t address);
