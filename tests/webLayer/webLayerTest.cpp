// The browser's GL layer, built natively over a WebGL stub that resolves what each draw call
// would draw from the bytes uploaded and the uniforms set. Each case draws a few frames through
// the demo's own kind of calls and checks the last frame against positions computed here.
#include <GL/glew.h>
#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/web/glLayer.h"
#include "tests/webLayer/webglStub.h"

typedef GLhandleARB (*CreateProgram)();
typedef GLhandleARB (*CreateShader)(GLenum);
typedef void (*ShaderSource)(GLhandleARB, GLsizei, const GLcharARB**, const GLint*);
typedef void (*Handle1)(GLhandleARB);
typedef void (*Handle2)(GLhandleARB, GLhandleARB);
typedef void (*GenFramebuffers)(GLsizei, GLuint*);
typedef void (*BindFramebuffer)(GLenum, GLuint);
typedef void (*FramebufferTexture)(GLenum, GLenum, GLenum, GLuint, GLint);

const int MESH_TRIANGLES = 40; // more corners than the batch takes from a block
const int PARTICLES = 14999;

// A vertex as the demo gives it, and where the layer should put it.
struct GivenVertex {
    float position[3], normal[3], texCoord[2];
};

struct Frame {
    std::vector<StubDraw> draws;
    double bufferBytes;
    int uniformCalls;
    std::vector<GivenVertex> given; // the mesh's corners as given in this frame
    std::vector<int> flushes;       // draws made before each glFlush
    float modelview[16];            // and the modelview they were under
};

struct LayerCase {
    const char* promise;
    int frames;
    void (*draw)(int frame, Frame& out);
    std::string (*check)(const Frame& last);
};

// ---- helpers ----
static GLhandleARB litProgram(bool gl20 = false);
static void objectMatrix(int frame, float out[16]);
static std::vector<GivenVertex> mesh(int frame, int changedFrom);
static void drawMesh(const std::vector<GivenVertex>& corners, bool texCoords);
static std::string shapeFailure(const StubDraw& draw, const Frame& f, bool normals);
static void useProgram(GLhandleARB p);
static void drawParticles(int count);
static void drawLitMesh(int frame, Frame& out, int changedFrom, bool still, bool gl20 = false);
static void bindShadowTarget();

// Made as the demo makes its programs, through the ARB entry points, or through GL 2.0's names
// as render/shaderProgram.cpp does.
static GLhandleARB litProgram(bool gl20) {
    const char* vertex =
        "#version 120\nvarying vec3 n;\nvoid main() {\n"
        "  n = gl_NormalMatrix * gl_Normal;\n"
        "  gl_TexCoord[0] = gl_MultiTexCoord0;\n"
        "  gl_Position = gl_ProjectionMatrix * gl_ModelViewMatrix * gl_Vertex;\n}\n";
    const char* fragment =
        "#version 120\nvarying vec3 n;\nvoid main() {\n"
        "  gl_FragColor = gl_FrontMaterial.diffuse * gl_LightSource[1].diffuse;\n}\n";
    const char* texts[2] = {vertex, fragment};
    const GLenum types[2] = {GL_VERTEX_SHADER, GL_FRAGMENT_SHADER};
    if (gl20) {
        GLuint program = glCreateProgram();
        for (int s = 0; s < 2; s++) {
            GLuint shader = glCreateShader(types[s]);
            glShaderSource(shader, 1, &texts[s], nullptr);
            glCompileShader(shader);
            glAttachShader(program, shader);
        }
        glLinkProgram(program);
        return program;
    }
    GLhandleARB program = ((CreateProgram)lookupEntryPoint("glCreateProgramObjectARB"))();
    for (int s = 0; s < 2; s++) {
        GLhandleARB shader = ((CreateShader)lookupEntryPoint("glCreateShaderObjectARB"))(types[s]);
        ((ShaderSource)lookupEntryPoint("glShaderSourceARB"))(shader, 1, &texts[s], nullptr);
        ((Handle1)lookupEntryPoint("glCompileShaderARB"))(shader);
        ((Handle2)lookupEntryPoint("glAttachObjectARB"))(program, shader);
    }
    ((Handle1)lookupEntryPoint("glLinkProgramARB"))(program);
    return program;
}

static void useProgram(GLhandleARB p) {
    ((Handle1)lookupEntryPoint("glUseProgramObjectARB"))(p);
}

// A wagon-like object: a turn about y and a move along x that change every frame.
static void objectMatrix(int frame, float out[16]) {
    float angle = 0.3f * frame, c = cosf(angle), s = sinf(angle);
    const float m[16] = {c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 5.0f * frame, 2, -30, 1};
    memcpy(out, m, sizeof m);
}

// A strip of triangles; from frame changedFrom on, its vertices move and its attributes change.
static std::vector<GivenVertex> mesh(int frame, int changedFrom) {
    std::vector<GivenVertex> corners;
    float bend = frame >= changedFrom ? 0.25f * frame : 0.0f;
    for (int t = 0; t < MESH_TRIANGLES; t++)
        for (int k = 0; k < 3; k++) {
            // Triangle t has corners on columns t / 2 and t / 2 + 1 of two rows: neighbours share.
            int column = t / 2 + (k == 1 || (k == 2 && t % 2)), row = k == 2 ? 1 - t % 2 : t % 2;
            float x = (float)column, y = (float)row + bend * column, z = 0.1f * column;
            corners.push_back({{x, y, z}, {0, 1 - bend, bend}, {x / 20, (float)row + bend}});
        }
    return corners;
}

static void drawMesh(const std::vector<GivenVertex>& corners, bool texCoords) {
    glBegin(GL_TRIANGLES);
    for (const GivenVertex& v : corners) {
        glNormal3f(v.normal[0], v.normal[1], v.normal[2]);
        if (texCoords)
            glTexCoord2f(v.texCoord[0], v.texCoord[1]);
        glVertex3f(v.position[0], v.position[1], v.position[2]);
    }
    glEnd();
}

// The draw must show the frame's corners under its modelview, in order.
static std::string shapeFailure(const StubDraw& draw, const Frame& f, bool normals) {
    if (draw.corners.size() != f.given.size())
        return "drew " + std::to_string(draw.corners.size()) + " corners of " +
               std::to_string(f.given.size());
    const float* m = f.modelview;
    for (size_t i = 0; i < f.given.size(); i++) {
        const GivenVertex& v = f.given[i];
        for (int r = 0; r < 3; r++) {
            float want = m[r] * v.position[0] + m[4 + r] * v.position[1] +
                         m[8 + r] * v.position[2] + m[12 + r];
            if (fabsf(draw.corners[i].eye[r] - want) > 1e-3f)
                return "corner " + std::to_string(i) + " drawn at the old or a wrong place";
            // The matrices are rotations: the normal turns with the upper 3 x 3.
            float normal = m[r] * v.normal[0] + m[4 + r] * v.normal[1] + m[8 + r] * v.normal[2];
            if (normals && fabsf(draw.corners[i].normal[r] - normal) > 1e-3f)
                return "corner " + std::to_string(i) + " has an old or wrong normal";
        }
        if (normals && (draw.corners[i].texCoord[0] != v.texCoord[0] ||
                        draw.corners[i].texCoord[1] != v.texCoord[1]))
            return "corner " + std::to_string(i) + " has an old or wrong texture coordinate";
    }
    return "";
}

// The particle pass as the demo draws it: each square under its own matrix, the colour through
// colour material, and state calls that repeat without changing anything.
static void drawParticles(int count) {
    for (int p = 0; p < count; p++) {
        glPushMatrix();
        glTranslatef((float)(p % 100), (float)(p / 100), -50);
        glScalef(0.5f, 0.5f, 0.5f);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glEnable(GL_COLOR_MATERIAL);
        glColor4f(1.0f, 0.5f, (float)(p % 7) / 7, 0.25f);
        glBindTexture(GL_TEXTURE_2D, 3);
        glBegin(GL_QUADS);
        const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        for (const float* c : corners) {
            glTexCoord2f((c[0] + 1) / 2, (c[1] + 1) / 2);
            glVertex3f(c[0], c[1], 0);
        }
        glEnd();
        glPopMatrix();
    }
    glDisable(GL_COLOR_MATERIAL);
}

// The mesh under the lit program; the matrix moves every frame unless still.
static void drawLitMesh(int frame, Frame& out, int changedFrom, bool still, bool gl20) {
    static GLhandleARB program;
    if (frame == 0)
        program = litProgram(gl20);
    if (gl20)
        glUseProgram(program);
    else
        useProgram(program);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    objectMatrix(still ? 0 : frame, out.modelview);
    glPushMatrix();
    glMultMatrixf(out.modelview);
    out.given = mesh(frame, changedFrom);
    drawMesh(out.given, true);
    glPopMatrix();
    if (gl20)
        glUseProgram(0);
    else
        useProgram(0);
}

// A framebuffer with a depth texture, bound, as render/shadowTarget.cpp makes it.
static void bindShadowTarget() {
    GLuint target;
    ((GenFramebuffers)lookupEntryPoint("glGenFramebuffersEXT"))(1, &target);
    ((BindFramebuffer)lookupEntryPoint("glBindFramebufferEXT"))(GL_FRAMEBUFFER, target);
    glBindTexture(GL_TEXTURE_2D, 5);
    ((FramebufferTexture)lookupEntryPoint("glFramebufferTexture2DEXT"))(
        GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, 5, 0);
}

static const LayerCase CASES[] = {
    {"a block drawn again with the same vertices is drawn from the kept buffers under its new "
     "modelview",
     2, [](int frame, Frame& out) { drawLitMesh(frame, out, 99, false); },
     [](const Frame& f) -> std::string {
         if (f.draws.size() != 1 || !f.draws[0].indexed)
             return "not one indexed draw";
         if (f.bufferBytes != 0)
             return "uploaded " + std::to_string((int)f.bufferBytes) + " bytes again";
         return shapeFailure(f.draws[0], f, true);
     }},
    {"a block whose vertices, normals and texture coordinates change between frames draws its "
     "new shape",
     3, [](int frame, Frame& out) { drawLitMesh(frame, out, 2, false); },
     [](const Frame& f) -> std::string {
         if (f.draws.size() != 1)
             return "not one draw";
         return shapeFailure(f.draws[0], f, true);
     }},
    {"a block that differs from a kept one in a single corner's texture coordinate draws its "
     "new shape",
     2,
     [](int frame, Frame& out) {
         useProgram(0);
         glEnable(GL_TEXTURE_2D);
         glMatrixMode(GL_MODELVIEW);
         objectMatrix(0, out.modelview);
         glLoadMatrixf(out.modelview);
         out.given = mesh(0, 99);
         out.given[MESH_TRIANGLES + 10].texCoord[0] += 0.5f * frame;
         drawMesh(out.given, true);
         glDisable(GL_TEXTURE_2D);
     },
     [](const Frame& f) -> std::string {
         if (f.draws.size() != 1)
             return "not one draw";
         const float want = f.given[MESH_TRIANGLES + 10].texCoord[0];
         if (f.draws[0].corners[MESH_TRIANGLES + 10].texCoord[0] != want)
             return "the changed corner drew its old texture coordinate";
         return "";
     }},
    {"the depth pass sends positions only, each distinct vertex once", 2,
     [](int frame, Frame& out) {
         glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
         glMatrixMode(GL_MODELVIEW);
         objectMatrix(frame, out.modelview);
         glLoadMatrixf(out.modelview);
         out.given = mesh(frame, 1);
         drawMesh(out.given, false);
         glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
     },
     [](const Frame& f) -> std::string {
         if (f.draws.size() != 1 || f.draws[0].attributes != 1 || f.draws[0].strideBytes != 12)
             return "not one draw of bare positions";
         // The strip's 120 corners are 42 distinct ones; an index each.
         if (f.bufferBytes > 42 * 12 + 120 * 4)
             return "uploaded " + std::to_string((int)f.bufferBytes) + " bytes";
         return shapeFailure(f.draws[0], f, false);
     }},
    {"the particles, each under its own matrix, are one indexed draw of four vertices each "
     "carrying what the fixed program reads",
     1,
     [](int, Frame&) {
         // A view that holds every square: x -1 to 100, y -1 to 150, depth 0 to 100.
         glMatrixMode(GL_PROJECTION);
         glLoadIdentity();
         glScalef(2.0f / 101, 2.0f / 151, -0.02f);
         glTranslatef(-49.5f, -74.5f, 50);
         glMatrixMode(GL_MODELVIEW);
         drawParticles(PARTICLES);
     },
     [](const Frame& f) -> std::string {
         if (f.draws.size() != 1)
             return std::to_string(f.draws.size()) + " draws";
         const StubDraw& d = f.draws[0];
         const double vertexBytes = PARTICLES * 4.0 * (3 + 2 + 4) * sizeof(float);
         if (!d.indexed || d.corners.size() != PARTICLES * 6u || d.attributes != 0b1101 ||
             f.bufferBytes != vertexBytes)
             return "not 6 indexed corners of 4 vertices a square with position, texture "
                    "coordinate and colour";
         // The last square's third corner: (1, 1) scaled by a half, moved to (98, 149, -50).
         const StubCorner& c = d.corners[(PARTICLES - 1) * 6 + 2];
         if (c.eye[0] != 98.5f || c.eye[1] != 149.5f || c.eye[2] != -50 || c.color[2] != 4 / 7.0f)
             return "the last square is misplaced or miscoloured";
         return "";
     }},
    {"squares wholly beyond one side of the view are left out of the batch; those reaching "
     "into it are kept",
     1,
     [](int, Frame&) {
         // Under the cases' 45-degree view, at 50 units the view is 20.71 units either side.
         struct Square {
             float x, y, z, size, turn; // size: half a side; turn: about y, in degrees
         };
         const Square squares[] = {
             {21.5f, 0, -50, 0.5f, 0},  // 0: beyond the right side
             {20.5f, 0, -50, 0.5f, 0},  // 1: across the right side: kept
             {0, -21.5f, -50, 0.5f, 0}, // 2: below the view
             {0, 0, 50, 0.5f, 0},       // 3: behind the eye
             {0, 0, -1500, 0.5f, 0},    // 4: past the far plane
             {0, 0, 0, 0.5f, 90},       // 5: edge-on at the eye, nearer than the near plane
             {0, 0, 0, 2.0f, 90},       // 6: from behind the eye to past the near plane: kept
             {0, 0, -50, 0.5f, 0},      // 7: in the middle: kept
         };
         glEnable(GL_COLOR_MATERIAL);
         for (int i = 0; i < 8; i++) {
             const Square& q = squares[i];
             glPushMatrix();
             glTranslatef(q.x, q.y, q.z);
             glRotatef(q.turn, 0, 1, 0);
             glScalef(q.size, q.size, q.size);
             glColor4f((float)i / 8, 0, 0, 1);
             glBegin(GL_QUADS);
             glVertex3f(-1, -1, 0);
             glVertex3f(1, -1, 0);
             glVertex3f(1, 1, 0);
             glVertex3f(-1, 1, 0);
             glEnd();
             glPopMatrix();
         }
         glDisable(GL_COLOR_MATERIAL);
     },
     [](const Frame& f) -> std::string {
         const int kept[] = {1, 6, 7};
         if (f.draws.size() != 1 || f.draws[0].corners.size() != 3 * 6u)
             return "not one draw of three squares";
         for (int k = 0; k < 3; k++)
             if (f.draws[0].corners[k * 6].color[0] != (float)kept[k] / 8)
                 return "square " + std::to_string(kept[k]) + " is missing";
         return "";
     }},
    {"outlines are drawn only for the polygons that culling keeps", 1,
     [](int, Frame&) {
         glEnable(GL_CULL_FACE);
         glCullFace(GL_BACK);
         glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
         glEnable(GL_COLOR_MATERIAL);
         glTranslatef(0, 0, -5);
         // Counter-clockwise as seen (front), then clockwise (back).
         const float turns[2][3][2] = {{{0, 0}, {1, 0}, {0, 1}}, {{0, 0}, {0, 1}, {1, 0}}};
         for (int t = 0; t < 2; t++) {
             glColor4f((float)t, 0, 0, 1);
             glBegin(GL_TRIANGLES);
             for (const float* c : turns[t])
                 glVertex3f(c[0], c[1], 0);
             glEnd();
         }
         glDisable(GL_COLOR_MATERIAL);
         glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
         glDisable(GL_CULL_FACE);
     },
     [](const Frame& f) -> std::string {
         // The front triangle's three edges, two corners each.
         if (f.draws.size() != 1 || f.draws[0].corners.size() != 6u)
             return "not one draw of one triangle's edges";
         return f.draws[0].corners[0].color[0] == 0 ? "" : "the back-facing outline was drawn";
     }},
    {"uniforms that did not change are not sent again", 2,
     [](int frame, Frame& out) { drawLitMesh(frame, out, 99, true); },
     [](const Frame& f) -> std::string {
         return f.uniformCalls == 0 ? "" : std::to_string(f.uniformCalls) + " uniforms sent";
     }},
    {"light, material and colour changes the fixed program ignores do not split the batch", 1,
     [](int, Frame&) {
         const float red[4] = {1, 0, 0, 1};
         drawParticles(10);
         glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, red);
         glLightfv(GL_LIGHT1, GL_DIFFUSE, red);
         glEnable(GL_LIGHTING);
         glDisable(GL_LIGHTING);
         drawParticles(10);
     },
     [](const Frame& f) -> std::string {
         return f.draws.size() == 1 ? "" : std::to_string(f.draws.size()) + " draws";
     }},
    {"colour material, enabled or given a colour, reaches a program that reads the material", 1,
     [](int, Frame&) {
         GLhandleARB program = litProgram();
         useProgram(program);
         glTranslatef(0, 0, -5); // in front of the eye, inside the view
         glColor4f(0.2f, 0.4f, 0.6f, 1);
         glEnable(GL_COLOR_MATERIAL);
         for (int k = 0; k < 2; k++) {
             glBegin(GL_TRIANGLES);
             glVertex3f(0, 0, 0);
             glVertex3f(1, 0, 0);
             glVertex3f(0, 1, 0);
             glEnd();
             glColor4f(1, 0, 0, 1);
         }
         glDisable(GL_COLOR_MATERIAL);
         useProgram(0);
     },
     [](const Frame& f) -> std::string {
         if (f.draws.size() != 2)
             return std::to_string(f.draws.size()) + " draws for two materials";
         const std::vector<float> want[2] = {{0.2f, 0.4f, 0.6f, 1}, {1, 0, 0, 1}};
         for (int k = 0; k < 2; k++) {
             auto u = f.draws[k].uniforms.find("dr_FrontMaterial.diffuse");
             if (u == f.draws[k].uniforms.end() || u->second != want[k])
                 return "draw " + std::to_string(k) + " has another material";
         }
         return "";
     }},
    {"a program whose id comes after many textures' ids still gets its uniforms", 2,
     [](int frame, Frame& out) {
         if (frame == 0) {
             GLuint names[80];
             glGenTextures(80, names);
         }
         drawLitMesh(frame, out, 99, false);
     },
     [](const Frame& f) -> std::string {
         if (f.draws.size() != 1 || f.draws[0].program <= 64)
             return "the case needs one draw by a program with an id past 64";
         return shapeFailure(f.draws[0], f, true);
     }},
    {"a program made through GL 2.0's names is translated, linked and used through the layer", 1,
     [](int frame, Frame& out) { drawLitMesh(frame, out, 99, false, true); },
     [](const Frame& f) -> std::string {
         if (f.draws.size() != 1)
             return "not one draw";
         return shapeFailure(f.draws[0], f, true);
     }},
    {"glFinish with the shadow target bound reads a pixel that samples its depth texture", 1,
     [](int frame, Frame& out) {
         bindShadowTarget();
         glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
         objectMatrix(frame, out.modelview);
         glLoadMatrixf(out.modelview);
         out.given = mesh(frame, 99);
         drawMesh(out.given, false);
         glFinish();
     },
     [](const Frame& f) -> std::string {
         if (f.draws.size() != 2 || stubReads.empty())
             return "no draw and read after the depth pass's draw";
         const StubDraw& wait = f.draws[1];
         if (wait.framebuffer == f.draws[0].framebuffer || wait.framebuffer == 0 ||
             wait.textures[7] != stubDepthTexture || stubReads.back() != wait.framebuffer)
             return "the read does not depend on the depth texture";
         return shapeFailure(f.draws[0], f, false);
     }},
    {"the shadow target is flushed between kept blocks once every few thousand indexes, the "
     "canvas never",
     2,
     [](int, Frame& out) {
         bindShadowTarget();
         glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
         out.given = mesh(0, 99);
         for (int b = 0; b < 120; b++)
             drawMesh(out.given, false);
         ((BindFramebuffer)lookupEntryPoint("glBindFramebufferEXT"))(GL_FRAMEBUFFER, 0);
         glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
         for (int b = 0; b < 60; b++)
             drawMesh(out.given, true);
     },
     [](const Frame& f) -> std::string {
         // Blocks of 120 indexes: the 50th and the 100th reach 6000 since the last flush.
         if (f.flushes != std::vector<int>{50, 100})
             return std::to_string(f.flushes.size()) + " flushes, not after draws 50 and 100";
         return "";
     }},
};

TEST(WebLayer, KeepsPromisesOverWebGl) {
    for (const LayerCase& c : CASES) {
        SCOPED_TRACE(c.promise);
        resetStub();
        forgetLayerPrograms();
        forgetLayerBuffers();
        initLayer(800, 600);
        glMatrixMode(GL_PROJECTION);
        gluPerspective(45, 1, 1, 1000);
        glMatrixMode(GL_MODELVIEW);
        Frame last;
        for (int frame = 0; frame < c.frames; frame++) {
            stubDraws.clear();
            stubFlushes.clear();
            stubCounts.bufferBytes = 0;
            stubCounts.uniformCalls = 0;
            last = Frame{};
            c.draw(frame, last);
            flushBatch();
            last.draws = stubDraws;
            last.flushes = stubFlushes;
            last.bufferBytes = stubCounts.bufferBytes;
            last.uniformCalls = stubCounts.uniformCalls;
        }
        EXPECT_EQ(c.check(last), "");
    }
}
