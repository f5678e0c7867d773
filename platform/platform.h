#pragma once
// The windowing system's entry-point lookup, error box and end of the program: one file per
// platform implements them (platformLinux.cpp, platformWindows.cpp, web/platformWeb.cpp);
// glExtensions.cpp serves all three.

typedef void (*EntryPoint)();

// Address of a GL entry point of the current context by name, or null where the driver has none.
// Mesa answers every name with a non-null stub, so callers that must know also ask
// hasGlExtension.
EntryPoint lookupEntryPoint(const char* name);

// True when the current context lists the extension (e.g. "GL_EXT_framebuffer_object"); false
// for a null or empty name.
bool hasGlExtension(const char* name);

// True when the space-separated list (the pre-3.0 GL_EXTENSIONS string) holds name as a whole
// word; false for a null list and for a null or empty name.
bool extensionInList(const char* list, const char* name);

// A modal error box with no owner window and the error icon, text "text (path)"; on Linux one
// line on standard error instead: "caption: text (path)". path may be null. UTF-8 throughout.
void showErrorBox(const char* caption, const char* text, const char* path);

// Ends the demo with the status: the process exits on the desktop; in the browser the frames stop,
// the page says that the demo has ended, and the call returns.
void endProgram(int status);
