// Prints, as UTF-8, the caption and the texts of the static controls of the first top-level window
// whose caption is the argument: the message of a message box. Exit status 1 when there is none.
#include <windows.h>

#include <cstdio>

static BOOL CALLBACK printStaticText(HWND child, LPARAM) {
    wchar_t className[64];
    wchar_t text[1024];
    char utf8[4096];
    if (GetClassNameW(child, className, 64) > 0 && lstrcmpiW(className, L"Static") == 0 &&
        GetWindowTextW(child, text, 1024) > 0 &&
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof(utf8), NULL, NULL) > 0)
        printf("%s\n", utf8);
    return TRUE;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: boxText CAPTION\n");
        return 2;
    }
    wchar_t caption[256];
    if (MultiByteToWideChar(CP_UTF8, 0, argv[1], -1, caption, 256) == 0)
        return 2;
    HWND box = FindWindowW(NULL, caption);
    if (box == NULL)
        return 1;
    printf("%s\n", argv[1]);
    EnumChildWindows(box, printStaticText, 0);
    return 0;
}
