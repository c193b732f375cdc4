// Draws the reference frames in the program's own window, with its own
// start-up, GL state and callbacks, called as GLUT's main loop calls them:
// drawScene, then onIdle, which shows that frame. Run it with the frame dump
// preloaded (frames.py draw does), which writes each frame shown:
//   swap 1        the floor and the ledge alone, the ball out of the view box
//   swaps 2-101   one whole throw: the start-up state, then steps 1 to 99
//   swaps 102-108 turns by dragging, from the pointer events in `turns` below
#include <GL/glut.h>

#include <cstdio>

#include "app.h"
#include "draw.h"
#include "input.h"
#include "scene_state.h"

namespace {

// The pointer events before each frame after the throw: drags to the first
// `drags` points, then a click of the left button without movement where
// `click` is set. A turn made in one onIdle shows in the frame that the next
// onIdle shows.
struct Events {
    int drags;
    int points[3][2];  // x, y in window pixels
    bool click;
};
const Events turns[] = {
    {1, {{40, 0}}, false},                         // across: a turn about the height axis
    {0, {}, false},                                // no movement: no further turn
    {1, {{40, -7}}, false},                        // up: a turn about x
    {3, {{90, 50}, {10, 10}, {140, 200}}, false},  // several between two frames: one turn, from the last
    {2, {{0, 0}, {140, 200}}, false},              // back where the last turn was: none
    {0, {}, true},                                 // a button without movement: none
    {0, {}, false},
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
    for (const Events& events : turns) {
        drawScene();
        for (int i = 0; i < events.drags; ++i) onMouseDrag(events.points[i][0], events.points[i][1]);
        if (events.click) {
            onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 5, 5);
            onMouseButton(GLUT_LEFT_BUTTON, GLUT_UP, 5, 5);
        }
        onIdle();
    }
    return 0;
}
