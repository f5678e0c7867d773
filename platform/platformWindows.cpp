#include "platform/platformWindows.h"

#include <windows.h>

#include <cstdio>
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

void showErrorBox(const char* caption, const char* text, const char* path) {
    char message[ERROR_TEXT_CAPACITY];
    if (path)
        snprintf(message, sizeof(message), "%s (%s)", text, path);
    else
        snprintf(message, sizeof(message), "%s", text);
    wchar_t wideMessage[ERROR_TEXT_CAPACITY];
    wchar_t wideCaption[ERROR_TEXT_CAPACITY];
    utf8ToUtf16(message, wideMessage, ERROR_TEXT_CAPACITY);
    utf8ToUtf16(caption, wideCaption, ERROR_TEXT_CAPACITY);
    MessageBoxW(NULL, wideMessage, wideCaption, MB_OK | MB_ICONERROR);
}
