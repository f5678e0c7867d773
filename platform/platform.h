#pragma once
// Stand-ins for the Windows-only interfaces, kept in one place.

typedef void (*EntryPoint)();

// Address of a GL entry point of the current context by name, or null where the driver has none.
// Mesa answers every name with a non-null stub, so callers that must know also ask
// hasGlExtension.
EntryPoint lookupEntryPoint(const char* name);

// True when the current context lists the extension (e.g. "GL_EXT_framebuffer_object").
bool hasGlExtension(const char* name);

// The modal error box becomes one line on standard error: "caption: text (path)".
// path may be null.
void showErrorBox(const char* caption, const char* text, const char* path);
