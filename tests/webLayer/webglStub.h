#pragma once
// WebGL 2 as the layer reaches it (platform/web/webgl.h), answered natively: it keeps buffers,
// vertex arrays, programs and uniforms, and for every draw call resolves what would be drawn,
// vertex by vertex, from the bytes actually uploaded and the uniforms actually set. Ids come
// from one counter, as Emscripten hands them out.
#include <map>
#include <string>
#include <vector>

// One drawn corner: the position under the program's modelview uniform, the normal under its
// normal matrix, the texture coordinate and colour as sent (zeros where not sent).
struct StubCorner {
    float eye[4], normal[3], texCoord[2], color[4];
};

struct StubDraw {
    unsigned program, framebuffer;
    unsigned textures[8]; // bound per unit
    bool indexed;
    int attributes; // bit a: attribute a is an enabled array
    int strideBytes;
    std::vector<StubCorner> corners;
    std::map<std::string, std::vector<float>> uniforms; // by name, as set when drawn
};

struct StubCounts {
    double bufferBytes; // uploaded to buffers
    int uniformCalls;
};

extern std::vector<StubDraw> stubDraws;
extern std::vector<unsigned> stubReads; // the framebuffer of each glReadPixels
extern std::vector<int> stubFlushes;    // draws made before each glFlush
extern unsigned stubDepthTexture;       // the texture last attached as a depth buffer
extern StubCounts stubCounts;

// Forgets every object and draw; ids start again at 1.
void resetStub();
