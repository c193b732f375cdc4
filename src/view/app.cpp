#include "app.h"

#include <GL/glut.h>

#include "ball_motion.h"
#include "draw.h"
#include "input.h"

namespace {

const char* const windowTitle = "Bouncing ball 1   -by: VOLM-";
const int windowWidth = 500;   // pixels
const int windowHeight = 500;  // pixels

// Material shared by floor, ledge and ball; only the ambient colour changes per object.
const GLfloat materialAmbient[] = {0.25f, 0.22f, 0.06f, 1.0f};
const GLfloat materialDiffuse[] = {0.35f, 0.31f, 0.09f, 1.0f};
const GLfloat materialSpecular[] = {0.8f, 0.72f, 0.21f, 1.0f};
const GLfloat materialShininess = 95.0f;

const GLfloat modelAmbient[] = {0.9f, 0.9f, 0.9f, 1.0f};
const GLfloat lightAmbient[] = {0.9f, 0.9f, 0.9f, 1.0f};
const GLfloat lightDiffuse[] = {0.8f, 0.8f, 0.8f, 1.0f};
const GLfloat lightSpecular[] = {1.0f, 1.0f, 1.0f, 1.0f};
const GLfloat lightPosition[] = {0.0f, -1.0f, 1.0f, 1.0f};  // positional: over the floor's near edge

// Orthographic box, in view units on every side of the origin.
const GLdouble viewExtent = 1.5;
// Tilt of the view: height points up the screen, seen from 15 degrees above the floor.
const GLfloat viewTilt = 75.0f;  // degrees about the negative x axis

}  // namespace

void openWindow(int* argc, char** argv)
{
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(windowWidth, windowHeight);
    glutCreateWindow(windowTitle);
    glutDisplayFunc(drawScene);
    glutMouseFunc(onMouseButton);
    glutMotionFunc(onMouseDrag);
    glutIdleFunc(onIdle);
}

void initGlState()
{
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, materialAmbient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, materialDiffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, materialSpecular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, materialShininess);

    glEnable(GL_LIGHTING);
    glLightModelf(GL_LIGHT_MODEL_TWO_SIDE, 1.0f);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, modelAmbient);

    // The light is placed while the modelview matrix is the identity, so
    // turning the view later does not move it.
    glLightfv(GL_LIGHT0, GL_AMBIENT, lightAmbient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, lightDiffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, lightSpecular);
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);

    glEnable(GL_LIGHT0);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_NORMALIZE);  // the face normals are not unit length

    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);

    // The tilt is part of the projection; the modelview holds only the user's turns.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-viewExtent, viewExtent, -viewExtent, viewExtent, -viewExtent, viewExtent);
    glRotatef(viewTilt, -1.0f, 0.0f, 0.0f);
}

void onIdle()
{
    stepBall();
    glMatrixMode(GL_MODELVIEW);
    applyViewRotation();
    glutSwapBuffers();  // shows the frame drawn before this step
    glutPostRedisplay();
}
