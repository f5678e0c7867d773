#pragma once
// Pieces of the Windows implementation offered to its tests: the box text with its UTF-8 to
// UTF-16 conversion, and the check of wglGetProcAddress's answers.
#include <cstdint>

// Sizes a box's text and caption: the UTF-16 buffers that MessageBoxW gets hold this many units,
// terminator included, and the UTF-8 byte buffer that the text is formatted into holds one byte
// more, so that the conversion, not the formatting, makes any cut, at a whole character.
const int BOX_TEXT_CAPACITY = 1024;

// Converts zero-terminated UTF-8 into zero-terminated UTF-16 in out (capacity units, at least 1);
// a text too long is cut at a whole character. Returns the units written before the terminator.
int utf8ToUtf16(const char* text, wchar_t* out, int capacity);

// The text of an error box, "text (path)" or text alone for a null path, as UTF-16 in out
// (BOX_TEXT_CAPACITY units); a text too long loses whole characters at its end. Returns the units
// written before the terminator.
int formatBoxText(const char* text, const char* path, wchar_t* out);

// True for the results of wglGetProcAddress that mean "no such function": some drivers answer
// 1, 2, 3 or -1 instead of null.
bool isMissingWglAddress(intptr_t address);
