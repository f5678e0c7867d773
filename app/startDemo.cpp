#include "app/startDemo.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include "app/frameLoop.h"
#include "app/pointerInput.h"
#include "app/sceneInit.h"
#include "app/window.h"

void startDemo(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_ALPHA | GLUT_DEPTH);
    glutInitWindowSize(windowWidth, windowHeight);
    glutInitWindowPosition(0, 0);
    glutCreateWindow("Kalvren: Dust Riders Demo");

    glutDisplayFunc(displayFrame);
    glutIdleFunc(displayFrame);
    glutMouseFunc(mouseButton);
    glutPassiveMotionFunc(passiveMotion);
    glutMotionFunc(mouseDrag);
    glutEntryFunc(mouseEntry);
    glutReshapeFunc(reshapeWindow);
    glutKeyboardFunc(keyboardInput);
    glutSpecialFunc(specialKeyInput);

    initScene();
}
