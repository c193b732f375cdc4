// Draws the reference frames in the program's own window, with its own
// start-up, GL state and callbacks, called as GLUT's main loop calls them:
// drawScene, then onIdle, which shows that frame. Run it with the frame dump
// preloaded (tools/frames draw does), which writes each frame shown:
//   swap 1        the floor and the ledge alone, the ball out of the view box
//   swaps 2-101   one whole throw: the start-up state, then steps 1 to 99
//   swaps 102-108 turns by dragging, from the pointer events in `turns` below
#include <GL/glut.h>

#include "app.h"
#include "draw.h"
#include "input.h"
#include "scene_state.h"

namespace {

// The pointer events before each frame after the throw. A turn made in one
// onIdle shows in the frame that the next onIdle shows.
void turn(int frame)
{
    switch (frame) {
        case 0:
            onMouseDrag(40, 0);
            break;  // across: a turn about the height axis
        case 2:
            onMouseDrag(40, -7);
            break;  // up: a turn about x
        case 3:     // several between two frames: one turn, from the last
            onMouseDrag(90, 50);
            onMouseDrag(10, 10);
            onMouseDrag(140, 200);
            break;
        case 4:  // back where the last turn was: none
            onMouseDrag(0, 0);
            onMouseDrag(140, 200);
            break;
        case 5:  // buttons without movement: none
            onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 5, 5);
            onMouseButton(GLUT_LEFT_BUTTON, GLUT_UP, 5, 5);
            break;
        default:
            break;  // no movement: no further turn
    }
}

}  // namespace

int main(int argc, char** argv)
{
    initSceneState();
    initMeshes();
    openWindow(&argc, argv);
    initGlState();

    const float startX = scene.ballX;
    scene.ballX = 5.0f;
    drawScene();
    glutSwapBuffers();
    scene.ballX = startX;

    for (int state = 0; state <= throwSteps; ++state) {
        drawScene();
        onIdle();
    }
    for (int frame = 0; frame < 7; ++frame) {
        drawScene();
        turn(frame);
        onIdle();
    }
    return 0;
}
