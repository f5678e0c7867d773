#include "platform/platformWindows.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"

int utf8ToUtf16(const char* text, wchar_t* out, int capacity) {
    out[0] = L'\0';
    int bytes = (int)strlen(text);
    // Drop whole characters from the end until the rest fits; UTF-16 never needs more units
    // than UTF-8 has bytes, so a cut to capacity - 1 bytes always fits.
    if (bytes > capacity - 1) {
        bytes = capacity - 1;
        while (bytes > 0 && ((unsigned char)text[bytes] & 0xC0) == 0x80)
            bytes--;
    }
    int units = bytes > 0 ? MultiByteToWideChar(CP_UTF8, 0, text, bytes, out, capacity - 1) : 0;
    out[units] = L'\0';
    return units;
}

bool isMissingWglAddress(intptr_t address) {
    return address == 0 || address == 1 || address == 2 || address == 3 || address == -1;
}

EntryPoint lookupEntryPoint(const char* name) {
    PROC address = wglGetProcAddress(name);
    if (isMissingWglAddress((intptr_t)address))
        return nullptr;
    return (EntryPoint)address;
}

int formatBoxText(const char* text, const char* path, wchar_t* out) {
    // One byte more than the conversion takes: where the text is longer, the byte at the cut is
    // still the text's own, and utf8ToUtf16 moves the cut back to the start of its character.
    char message[BOX_TEXT_CAPACITY + 1];
    if (path)
        snprintf(message, sizeof(message), "%s (%s)", text, path);
    else
        snprintf(message, sizeof(message), "%s", text);
    return utf8ToUtf16(message, out, BOX_TEXT_CAPACITY);
}

void showErrorBox(const char* caption, const char* text, const char* path) {
    wchar_t wideMessage[BOX_TEXT_CAPACITY];
    wchar_t wideCaption[BOX_TEXT_CAPACITY];
    formatBoxText(text, path, wideMessage);
    utf8ToUtf16(caption, wideCaption, BOX_TEXT_CAPACITY);
    MessageBoxW(NULL, wideMessage, wideCaption, MB_OK | MB_ICONERROR);
}

void endProgram(int status) {
    exit(status);
}
