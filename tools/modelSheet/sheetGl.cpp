#include "tools/modelSheet/sheetGl.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <cstdio>
#include <cstring>
#include <stb_image_write.h>

static void noDisplay() {}

void openSheetWindow(int width, int height) {
    int argc = 1;
    char name[] = "modelSheet";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGBA | GLUT_DEPTH);
    glutInitWindowSize(width, height);
    glutInitWindowPosition(0, 0);
    glutCreateWindow("Dust Riders model sheet");
    glutDisplayFunc(noDisplay); // freeglut wants one before events are processed
    glewInit();
    for (int i = 0; i < 5; i++)
        glutMainLoopEvent();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_NORMALIZE); // the averaged normals are shorter than 1 at edges
    glShadeModel(GL_SMOOTH);
    glEnable(GL_SCISSOR_TEST);
    const float ambient[] = {0.35f, 0.35f, 0.35f, 1}, diffuse[] = {0.85f, 0.85f, 0.85f, 1};
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    const float material[] = {1, 1, 1, 1};
    glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, material);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

void beginView(int x, int y, int width, int height) {
    glViewport(x, y, width, height);
    glScissor(x, y, width, height);
    glClearColor(0.55f, 0.68f, 0.82f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void drawObject(const SceneObject& object) {
    if (object.textureId >= 0) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, (GLuint)object.textureId);
    } else {
        glDisable(GL_TEXTURE_2D);
    }
    glBegin(GL_TRIANGLES);
    for (int t = 0; t < object.polygonCount; t++) {
        const int corners[3] = {object.polygons[t].a, object.polygons[t].b, object.polygons[t].c};
        for (int v : corners) {
            if (v < 0 || v >= object.vertexCount)
                continue;
            glNormal3f(object.normals[v].x, object.normals[v].y, object.normals[v].z);
            glTexCoord2f(object.texCoords[v].u, object.texCoords[v].v);
            glVertex3f(object.vertices[v].x, object.vertices[v].y, object.vertices[v].z);
        }
    }
    glEnd();
}

void readView(int x, int y, int width, int height, Pixels& out) {
    createPixels(width, height, out);
    std::vector<unsigned char> bottomUp((size_t)width * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    size_t row = (size_t)width * 3;
    for (int r = 0; r < height; r++)
        memcpy(&out.rgb[(size_t)r * row], &bottomUp[(size_t)(height - 1 - r) * row], row);
}

void createPixels(int width, int height, Pixels& out) {
    out.width = width;
    out.height = height;
    out.rgb.assign((size_t)width * height * 3, 40);
}

void pastePixels(const Pixels& src, int x, int y, Pixels& dst) {
    for (int r = 0; r < src.height && y + r < dst.height; r++) {
        for (int c = 0; c < src.width && x + c < dst.width; c++) {
            if (x + c < 0 || y + r < 0)
                continue;
            memcpy(&dst.rgb[((size_t)(y + r) * dst.width + x + c) * 3],
                   &src.rgb[((size_t)r * src.width + c) * 3], 3);
        }
    }
}

bool writePng(const Pixels& pixels, const std::string& path) {
    if (!stbi_write_png(path.c_str(), pixels.width, pixels.height, 3, pixels.rgb.data(),
                        pixels.width * 3)) {
        fprintf(stderr, "modelSheet: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}
