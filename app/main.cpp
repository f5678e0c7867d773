#include <GL/glew.h>
#include <GL/freeglut.h>

#include "app/startDemo.h"

int main(int argc, char** argv) {
    startDemo(argc, argv);
    glutMainLoop();
    return 0;
}
