#include "input.h"

#include <GL/glut.h>

#include <cstdlib>

#include "scene_state.h"

namespace {

const GLfloat turnAngle = 5.0f;       // degrees per frame in which the pointer moved
const GLfloat axisPerPixel = 0.002f;  // scales pointer movement into the axis

}  // namespace

void onMouseButton(int button, int /*state*/, int /*x*/, int /*y*/)
{
    if (button == GLUT_RIGHT_BUTTON) {
        std::exit(0);
    }
}

void onMouseDrag(int x, int y)
{
    scene.pointerX = x;
    scene.pointerY = y;
}

void applyViewRotation()
{
    if (scene.pointerX == scene.appliedX && scene.pointerY == scene.appliedY) {
        return;
    }
    // Differences in double: no integer overflow, whatever the pointer reports.
    const double dx = static_cast<double>(scene.pointerX) - static_cast<double>(scene.appliedX);
    const double dy = static_cast<double>(scene.pointerY) - static_cast<double>(scene.appliedY);
    // Vertical movement turns about the scene's x axis, horizontal about its z axis (height).
    glRotatef(turnAngle, static_cast<GLfloat>(dy * static_cast<double>(axisPerPixel)), 0.0f,
              static_cast<GLfloat>(dx * static_cast<double>(axisPerPixel)));
    scene.appliedX = scene.pointerX;
    scene.appliedY = scene.pointerY;
}
