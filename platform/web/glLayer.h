#pragma once
// The fixed-function OpenGL subset the demo calls, answered over WebGL 2. The demo's own gl*
// calls land in these files; WebGL itself is reached through Emscripten's emscripten_gl* names.
// All state lives in one struct and turns into uniforms when a batch is drawn.
#include <GL/glew.h>

const int LAYER_TEXTURE_NAMES = 256; // demo texture names 0 .. 255
const int LAYER_TEXTURE_UNITS = 8;
const int LAYER_LIGHTS = 2;       // the demo uses GL_LIGHT1
const int LAYER_STACK_DEPTH = 32; // matrices per stack
const int LAYER_PROGRAMS = 64;    // WebGL program ids with cached uniform locations

// Attribute locations bound before every link, in the fixed program and in translated ones.
const int ATTRIB_VERTEX = 0, ATTRIB_NORMAL = 1, ATTRIB_TEXCOORD = 2, ATTRIB_COLOR = 3;

struct LightState {
    float ambient[4], diffuse[4], specular[4];
    float position[4]; // eye coordinates, transformed when given
};

struct MaterialState {
    float ambient[4], diffuse[4], specular[4];
    float shininess;
};

struct MatrixStack {
    float matrices[LAYER_STACK_DEPTH][16]; // column-major
    int top;                               // index of the current matrix
};

struct LayerState {
    MatrixStack modelview, projection;
    MatrixStack texture[LAYER_TEXTURE_UNITS];
    GLenum matrixMode;
    int activeUnit;                           // 0 .. LAYER_TEXTURE_UNITS - 1
    GLuint boundTexture[LAYER_TEXTURE_UNITS]; // demo names
    bool texture2d[LAYER_TEXTURE_UNITS];      // GL_TEXTURE_2D enabled per unit
    GLuint webglTexture[LAYER_TEXTURE_NAMES]; // 0: the demo name has no WebGL texture yet
    bool lighting, colorMaterial;
    bool lightEnabled[LAYER_LIGHTS];
    LightState lights[LAYER_LIGHTS];
    MaterialState material;
    float lightModelAmbient[4];
    float color[4], normal[3], texCoord[2]; // current vertex attributes
    GLenum polygonMode;                     // GL_FILL or GL_LINE
    bool colorWrites;                       // false while glColorMask masks every channel
    bool cullFaces;                         // GL_CULL_FACE enabled
    GLenum cullMode;                        // GL_BACK, GL_FRONT or GL_FRONT_AND_BACK
    GLuint program;                         // demo's program, 0 for fixed function
    GLuint framebuffer;                     // bound framebuffer, 0 for the canvas
    int viewport[4];
    int unpackAlignment;
};

extern LayerState layer;

// GL's initial state, the batch's buffers and the fixed-function program; needs the context.
void initLayer(int width, int height);

// Matrix helpers shared by the layer's files. out = a * b; out may alias neither.
void layerMultiply(const float a[16], const float b[16], float out[16]);
float* layerCurrentMatrix();
// Draws what the batch holds with the state as it is now; every state change calls it first.
void flushBatch();
// Makes the WebGL program for the demo's program p (0: the layer's fixed-function one) current
// and returns it.
GLuint useLayerProgram(GLuint p);
// Sets the matrix, light and material uniforms of the current program from the layer's state.
void loadStateUniforms(GLuint webglProgram);
// Links p with the layer's attribute locations and caches its uniform locations.
void linkLayerProgram(GLuint p);
// GL_PACK_ALIGNMENT for the layer's glReadPixels, as glPixelStorei sets it.
void setLayerPackAlignment(int alignment);
// After the context is made: keep what a lost context needs to be made again; and make it again.
void keepLayerForRestore();
void restoreLayer();
// Reports once on the console that the layer cannot honour a call.
void layerUnsupported(const char* what);
