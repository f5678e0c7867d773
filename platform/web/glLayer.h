#pragma once
// The fixed-function OpenGL subset the demo calls, answered over WebGL 2. The demo's own gl*
// calls land in these files; WebGL itself is reached through Emscripten's emscripten_gl* names.
// The state the programs read lives in one struct and becomes uniforms when something is drawn;
// WebGL's own switches are passed on as they change.
#include <GL/glew.h>

const int LAYER_TEXTURE_NAMES = 256; // demo texture names 0 .. 255
const int LAYER_TEXTURE_UNITS = 8;
const int LAYER_LIGHTS = 2;       // GL_LIGHT0 carries the sky's direction, GL_LIGHT1 lights
const int LAYER_STACK_DEPTH = 32; // matrices per stack
const int LAYER_PROGRAMS = 16;    // linked programs with cached uniforms, whatever their ids
// Mesa's llvmpipe, drawing for the browser, bins a pass's triangles on the browser's GPU thread
// and rasterizes none of them until the pass is flushed. Flushing the shadow target between kept
// blocks every this many indexes lets its threads rasterize the first objects while the later
// ones are binned: the depth pass took a third less time so. Splitting a block costs more than it
// saves, and the canvas's passes gained nothing.
const int SHADOW_FLUSH_INDEXES = 6000;

// Attribute locations bound before every link, in the fixed program and in translated ones.
const int ATTRIB_VERTEX = 0, ATTRIB_NORMAL = 1, ATTRIB_TEXCOORD = 2, ATTRIB_COLOR = 3;

// Which attributes a vertex carries beyond its position: those its program reads.
const int FORMAT_NORMAL = 1, FORMAT_TEXCOORD = 2, FORMAT_COLOR = 4;
const int VERTEX_MAX_FLOATS = 12;

// State that reaches a program through uniforms: a change flushes a batch only when the batch's
// program reads it.
enum StateGroup {
    READS_LIGHT,
    READS_MATERIAL,
    READS_LIGHT_MODEL,
    READS_TEXTURING,
    READS_TEXTURE_MATRIX,
    READS_PROJECTION
};

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
    int colorMask;                          // glColorMask's channels, bits r g b a
    bool colorWrites;                       // false while glColorMask masks every channel
    bool cullFaces;                         // GL_CULL_FACE enabled
    GLenum cullMode;                        // GL_BACK, GL_FRONT or GL_FRONT_AND_BACK
    GLuint program;                         // demo's program, 0 for fixed function
    GLuint framebuffer;                     // bound framebuffer, 0 for the canvas
    GLuint depthTarget, depthTexture; // the framebuffer given a depth texture, and it (WebGL's)
    int unflushedIndexes;             // drawn into the bound target since it was last flushed
    int viewport[4];
    int unpackAlignment;
};

// What the layer has sent to WebGL since the page started: buffer and texture bytes, and draw
// calls. The benchmark reads them around each frame (layerCounts.cpp).
struct LayerCounts {
    double bytesUploaded;
    int drawCalls;
};

extern LayerState layer;
extern LayerCounts layerCounts;

// GL's initial state, the batch's buffers and the fixed-function program; needs the context.
void initLayer(int width, int height);

// Matrix helpers shared by the layer's files. out = a * b; out may alias neither.
void layerMultiply(const float a[16], const float b[16], float out[16]);
float* layerCurrentMatrix();
// Inverse transpose of the upper 3 x 3 of m, column-major in and out.
void layerNormalMatrix(const float m[16], float out[9]);
// Draws what the batch holds with the state as it is now.
void flushBatch();
// Flushes the batch first when its program reads the state group (index: the light or unit).
void flushBatchIfRead(StateGroup group, int index);
// Makes the WebGL program for the demo's program p (0: the layer's fixed-function one) current
// and returns it.
GLuint useLayerProgram(GLuint p);
// The WebGL program the layer last made current.
GLuint layerActiveProgram();
// The attributes the WebGL program reads (FORMAT_* bits); positions always.
int programFormat(GLuint webglProgram);
// True when the WebGL program has a uniform for the state group.
bool programReads(GLuint webglProgram, StateGroup group, int index);
// Sends the state uniforms of the program that differ from what it last got; modelview is the
// matrix its vertices are under (the identity for vertices already in eye coordinates).
void loadStateUniforms(GLuint webglProgram, const float modelview[16]);
// Links p with the layer's attribute locations and caches its uniform locations.
void linkLayerProgram(GLuint p);
// A shader of the layer's own, compiled from GLSL ES 3.00 text.
GLuint compileLayerShader(GLenum type, const char* text);
// GL_PACK_ALIGNMENT for the layer's glReadPixels, as glPixelStorei sets it.
void setLayerPackAlignment(int alignment);
// After the context is made: keep what a lost context needs to be made again; and make it again.
void keepLayerForRestore();
void restoreLayer();
// Reports once on the console that the layer cannot honour a call.
void layerUnsupported(const char* what);

// Floats per vertex of a format, and where its normal, texture coordinate and colour start
// (-1 where absent).
int formatStride(int format, int offsets[3]);
// Draws a finished glBegin/glEnd block of count vertices (format floats each, object space)
// from buffers the layer keeps, uploading it only when no kept block has the same vertices.
// False when the block cannot be kept; the caller then sends it through the batch.
bool drawKeptBlock(const float* vertices, int count, int format, GLenum mode,
                   const float modelview[16]);
// After the context was lost: every kept block's buffers are dropped (a block is sent again when
// it is next drawn), and the batch's own buffers are made afresh.
void forgetLayerBuffers();
// After the context was lost: the layer's programs and the uniform values they got are
// forgotten (glFinish's wait target too); its own programs are linked again when next used, the
// demo's when the demo links them again. With forgetLayerBuffers, what a restore must call.
void forgetLayerPrograms();
// After a restore that made every program again under its name: the programs' uniforms hold
// their initial values, so each is sent again when next drawn.
void forgetUniformValues();
// glFinish's program and texel, made again when next needed.
void forgetWaitTarget();
// Makes the batch's vertex array and buffers and the shared quad index buffer.
void createBatchBuffers();
