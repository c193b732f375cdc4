// Turning the scene by dragging, checked on the real modelview matrix, and
// the right button ending the program.
#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <array>
#include <cmath>

#include "app.h"
#include "gl_window.h"
#include "input.h"
#include "scene_state.h"

namespace {

using Matrix = std::array<double, 16>;  // column-major, as OpenGL stores it

Matrix identity()
{
    return Matrix{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

Matrix multiply(const Matrix& a, const Matrix& b)
{
    Matrix m{};
    for (size_t col = 0; col < 4; ++col)
        for (size_t row = 0; row < 4; ++row)
            for (size_t k = 0; k < 4; ++k) m[col * 4 + row] += a[k * 4 + row] * b[col * 4 + k];
    return m;
}

// A turn of the given angle about an axis (normalised here), by Rodrigues' formula.
Matrix rotation(double degrees, double ax, double ay, double az)
{
    const double length = std::sqrt(ax * ax + ay * ay + az * az);
    ax /= length;
    ay /= length;
    az /= length;
    const double a = degrees * std::acos(-1.0) / 180.0;
    const double c = std::cos(a), s = std::sin(a), t = 1.0 - c;
    Matrix m = identity();
    m[0] = t * ax * ax + c;
    m[1] = t * ax * ay + s * az;
    m[2] = t * ax * az - s * ay;
    m[4] = t * ax * ay - s * az;
    m[5] = t * ay * ay + c;
    m[6] = t * ay * az + s * ax;
    m[8] = t * ax * az + s * ay;
    m[9] = t * ay * az - s * ax;
    m[10] = t * az * az + c;
    return m;
}

Matrix modelview()
{
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    Matrix result{};
    for (int i = 0; i < 16; ++i) result[static_cast<size_t>(i)] = static_cast<double>(m[i]);
    return result;
}

void expectMatrixNear(const Matrix& actual, const Matrix& expected)
{
    for (size_t i = 0; i < 16; ++i) {
        EXPECT_NEAR(actual[i], expected[i], 2e-6) << "element " << i;
    }
}

using ViewRotation = WindowTest;

TEST_F(ViewRotation, DragTurnsFiveDegreesAboutAnAxisFromTheMovement)
{
    // Horizontal movement turns about height (z), vertical about x, diagonal between.
    // The first turn measures from the top-left corner, where the applied position starts.
    const struct {
        int x, y;
        double axisX, axisZ;
    } drags[] = {{40, 0, 0.0, 1.0}, {0, -7, -1.0, 0.0}, {300, 100, 100 * 0.002, 300 * 0.002}};
    for (const auto& drag : drags) {
        initSceneState();
        glLoadIdentity();
        onMouseDrag(drag.x, drag.y);
        onIdle();
        expectMatrixNear(modelview(), rotation(5.0, drag.axisX, 0.0, drag.axisZ));
        EXPECT_EQ(scene.appliedX, drag.x);
        EXPECT_EQ(scene.appliedY, drag.y);
    }
}

TEST_F(ViewRotation, TurnsAccumulateInTheSceneOwnCoordinates)
{
    onMouseDrag(10, 0);
    onIdle();
    onMouseDrag(10, 25);
    onIdle();
    expectMatrixNear(modelview(), multiply(rotation(5.0, 0.0, 0.0, 1.0), rotation(5.0, 1.0, 0.0, 0.0)));
}

TEST_F(ViewRotation, SeveralDragsBetweenFramesGiveOneTurnFromTheLast)
{
    onMouseDrag(50, 0);
    onMouseDrag(80, 80);
    onMouseDrag(0, 200);
    onIdle();
    expectMatrixNear(modelview(), rotation(5.0, 1.0, 0.0, 0.0));
}

TEST_F(ViewRotation, NoTurnWithoutMovement)
{
    onMouseDrag(60, 60);
    onIdle();
    const Matrix afterFirst = modelview();

    onMouseDrag(90, 10);
    onMouseDrag(60, 60);  // back where the last turn was applied
    onIdle();
    expectMatrixNear(modelview(), afterFirst);

    onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 200, 200);
    onMouseButton(GLUT_LEFT_BUTTON, GLUT_UP, 200, 200);
    onMouseButton(GLUT_MIDDLE_BUTTON, GLUT_DOWN, 10, 10);
    onIdle();
    expectMatrixNear(modelview(), afterFirst);
}

TEST_F(ViewRotation, TurnDoesNotMoveTheProjection)
{
    GLfloat before[16], after[16];
    glGetFloatv(GL_PROJECTION_MATRIX, before);
    onMouseDrag(30, 30);
    onIdle();
    glGetFloatv(GL_PROJECTION_MATRIX, after);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(before[i], after[i]) << i;
}

TEST_F(ViewRotation, FarPointerPositionsStillGiveAFiniteTurn)
{
    onMouseDrag(2147483647, -2147483647 - 1);
    onIdle();
    for (double v : modelview()) EXPECT_TRUE(std::isfinite(v));
    expectMatrixNear(modelview(), rotation(5.0, -2147483648.0, 0.0, 2147483647.0));
}

// No window here: the forked child must not share a GL context.
TEST(RightButtonDeathTest, PressEndsTheProgramWithStatusZero)
{
    initSceneState();
    EXPECT_EXIT(onMouseButton(GLUT_RIGHT_BUTTON, GLUT_DOWN, 10, 10), testing::ExitedWithCode(0), "");
    // Also in the middle of a drag.
    onMouseDrag(100, 100);
    EXPECT_EXIT(onMouseButton(GLUT_RIGHT_BUTTON, GLUT_DOWN, 100, 100), testing::ExitedWithCode(0), "");
}

}  // namespace
