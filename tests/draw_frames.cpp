// Draws the reference frames in the program's own window, with its own
// start-up, GL state and callbacks, called as GLUT's main loop calls them:
// drawScene, then onIdle, which shows that frame. Run it with the frame dump
// preloaded (frames.py draw does), which writes each frame shown:
//   swap 1        the floor and the ledge alone, the ball out of the view box
//   swaps 2-101   one whole throw: the start-up state, then steps 1 to 99
//   swaps 102-108 turns by dragging, from the drags in `turns` below
#include <GL/glut.h>

#include <cstdio>

#include "app.h"
#include "draw.h"
#include "input.h"
#include "scene_state.h"

namespace {

// The drags before each frame after the throw, to the first `drags` points of
// its row. A turn made in one onIdle shows in the frame that the next onIdle
// shows. (That a press or a release without movement turns nothing, the
// end-to-end tests show through GLUT: onMouseButton cannot turn.)
struct Drags {
    int drags;
    int points[3][2];  // x, y in window pixels
};
const Drags turns[] = {
    {1, {{40, 0}}},                         // across: a turn about the height axis
    {0, {}},                                // no movement: no further turn
    {1, {{40, -7}}},                        // up: a turn about x
    {3, {{90, 50}, {10, 10}, {140, 200}}},  // several between two frames: one turn, from the last
    {2, {{0, 0}, {140, 200}}},              // back where the last turn was: none
    {0, {}},
    {0, {}},
};

}  // namespace

int main(int argc, char** argv)
{
    initSceneState();
    initMeshes();
    openWindow(&argc, argv);
    initGlState();
    // Another rasterizer than the references' (GALLIUM_DRIVER) shows here, or Mesa's fallback.
    std::printf("drawn by %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));

    const float startX = scene.ballX;
    scene.ballX = 5.0f;
    drawScene();
    glutSwapBuffers();
    scene.ballX = startX;

    for (int state = 0; state <= throwSteps; ++state) {
        drawScene();
        onIdle();
    }
    for (const Drags& frame : turns) {
        drawScene();
        for (int i = 0; i < frame.drags; ++i) onMouseDrag(frame.points[i][0], frame.points[i][1]);
        onIdle();
    }
    return 0;
}
