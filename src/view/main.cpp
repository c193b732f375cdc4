// Bouncing ball: a ball thrown from a ledge bounces across a lit floor, again and again.
//
// Controls:
//   drag with the left or middle button   turn the whole scene
//   right button                          quit (exit status 0)
//
// Options: those of GLUT's initialisation, such as -display and -geometry.

#include <GL/glut.h>

#include "app.h"
#include "scene_state.h"

int main(int argc, char** argv)
{
    initSceneState();
    initMeshes();
    openWindow(&argc, argv);
    initGlState();
    glutMainLoop();
    return 0;
}
