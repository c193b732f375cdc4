// The picture, read back from a real window: background, floor, ledge and
// ball where the projection puts them, the lighting, and the frame shown one
// step behind the simulation.
#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <ostream>

#include "app.h"
#include "draw.h"
#include "gl_window.h"
#include "picture_expect.h"
#include "scene_picture.h"
#include "scene_state.h"

namespace {

using namespace scene_picture;
using xdriver::Image;

const float offScreenX = 5.0f;  // a ballX outside the view box: the ball is clipped away
const double tolerancePixels = 1.5;

class Render : public WindowTest {
protected:
    static Image drawAndRead()
    {
        drawScene();
        return readPixels(GL_BACK);
    }

    // The ball at its current place, against the same picture with the ball moved away.
    static BallSighting drawBall()
    {
        const Image withBall = drawAndRead();
        const float x = scene.ballX;
        scene.ballX = offScreenX;
        const Image without = drawAndRead();
        scene.ballX = x;
        return findBall(withBall, without);
    }

    WindowPoint ballCentre() const
    {
        return projectToWindow(static_cast<double>(scene.ballX), 0.0,
                               static_cast<double>(heightToViewZ(scene.height)));
    }
};

// Every pixel that is not white, in the lower half (the floor) or the upper half (the ledge).
PixelBox sceneBox(const Image& image, bool upperHalf)
{
    PixelBox box;
    const int first = upperHalf ? 0 : image.height / 2;
    for (int y = first; y < first + image.height / 2; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (!isWhite(image.at(x, y))) box.add(x, y);
        }
    }
    return box;
}

TEST_F(Render, FloorAndLedgeOnWhiteWhereTheProjectionPutsThem)
{
    EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), 500);
    EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), 500);
    scene.ballX = offScreenX;
    const Image image = drawAndRead();
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{499, 0}, std::pair{0, 499}, std::pair{499, 499}}) {
        EXPECT_TRUE(isWhite(image.at(x, y))) << x << "," << y;
    }
    expectFloorAndLedge(sceneBox(image, false), sceneBox(image, true), tolerancePixels);
}

// The colour fixed-function lighting gives a vertex of the floor or the ledge:
// the light model's and the light's ambient, and the diffuse and specular light
// of the positional light at (0, -1, 1), with the viewer at infinity along +z.
// Both grids face the viewer with their back side, whose normal points up.
std::array<double, 3> litColour(double x, double y, double z, const std::array<double, 3>& ambient)
{
    const std::array<double, 3> diffuse{0.35 * 0.8, 0.31 * 0.8, 0.09 * 0.8};
    const std::array<double, 3> specular{0.8, 0.72, 0.21};
    const double lx = 0.0 - x, ly = -1.0 - y, lz = 1.0 - z;
    const double length = std::sqrt(lx * lx + ly * ly + lz * lz);
    const double diffuseFactor = std::max(lz / length, 0.0);  // normal (0, 0, 1)
    const double hx = lx / length, hy = ly / length, hz = lz / length + 1.0;
    const double specularFactor =
        diffuseFactor > 0.0 ? std::pow(hz / std::sqrt(hx * hx + hy * hy + hz * hz), 95.0) : 0.0;
    std::array<double, 3> colour{};
    for (size_t i = 0; i < 3; ++i) {
        const double value =
            ambient[i] * (0.9 + 0.9) + diffuse[i] * diffuseFactor + specular[i] * specularFactor;
        colour[i] = std::min(value, 1.0) * 255.0;
    }
    return colour;
}

void expectLitLike(const Image& image, const GridMesh& mesh, int row, int column,
                   const std::array<double, 3>& ambient)
{
    const double x = static_cast<double>(mesh.x[row][column]);
    const double y = static_cast<double>(mesh.y[row][column]);
    const double z = static_cast<double>(mesh.z[row][column]);
    const WindowPoint at = projectToWindow(x, y, z);
    const std::uint8_t* pixel = image.at(static_cast<int>(at.x), static_cast<int>(at.y));
    const std::array<double, 3> expected = litColour(x, y, z, ambient);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(pixel[i], expected[i], 4.0) << "vertex " << row << "," << column << " channel " << i;
    }
}

TEST_F(Render, FloorAndLedgeAreLitFromAbove)
{
    scene.ballX = offScreenX;
    const Image image = drawAndRead();
    const std::array<double, 3> floorAmbientExpected{0.15, 0.22, 1.0};
    const std::array<double, 3> ledgeAmbientExpected{0.15, 0.82, 0.16};
    // Away from the highlight at the near edge, where the colour changes slowly.
    for (const auto& [row, column] : {std::pair{45, 5}, std::pair{45, 25}, std::pair{45, 44},
                                      std::pair{30, 10}, std::pair{30, 40}, std::pair{20, 25}}) {
        expectLitLike(image, scene.floorMesh, row, column, floorAmbientExpected);
    }
    expectLitLike(image, scene.ledgeMesh, 20, 20, ledgeAmbientExpected);
    expectLitLike(image, scene.ledgeMesh, 5, 35, ledgeAmbientExpected);
}

struct BallPlace {
    // cppcheck-suppress unusedStructMember ; read by the test name generator
    const char* name;
    // cppcheck-suppress unusedStructMember ; read through GetParam()
    float ballX, height;
};

// NOLINTNEXTLINE(readability-identifier-naming): GoogleTest looks the printer up by this name
void PrintTo(const BallPlace& place, std::ostream* out)
{
    *out << place.name;
}

class BallPosition : public Render, public testing::WithParamInterface<BallPlace> {};

TEST_P(BallPosition, CentreIsWhereTheProjectionPutsIt)
{
    scene.ballX = GetParam().ballX;
    scene.height = GetParam().height;
    const BallSighting ball = drawBall();
    ASSERT_TRUE(ball.found);
    EXPECT_NEAR(ball.centre.x, ballCentre().x, tolerancePixels);
    EXPECT_NEAR(ball.centre.y, ballCentre().y, tolerancePixels);
    EXPECT_NEAR(ball.box.maxX - ball.box.minX, 2.0 * ballRadiusPixels, 2.0 * tolerancePixels);
}

INSTANTIATE_TEST_SUITE_P(Places, BallPosition,
                         testing::Values(BallPlace{"OnTheLedgeAtStartUp", -0.99f, 100.0f},
                                         BallPlace{"OnTheFloorHalfBelowIt", 0.0f, 0.0f},
                                         BallPlace{"NearTheTopOfTheThrow", -0.5f, 103.648f},
                                         BallPlace{"AtTheLastStep", 0.99f, 22.656f}),
                         [](const testing::TestParamInfo<BallPlace>& place) { return place.param.name; });

TEST_F(Render, BallOnTheFloorHasItsCentreAtAbout18Percent)
{
    scene.ballX = 0.0f;
    scene.height = 0.0f;
    EXPECT_NEAR(1.0 - drawBall().centre.y / 500.0, 0.18, 0.01);
}

TEST_F(Render, ScreenShowsTheFrameDrawnBeforeTheLatestStep)
{
    // The last step of a throw, then the first of the next: far apart on screen.
    scene.stepCount = 100;
    scene.ballX = 0.99f;
    scene.height = 22.656f;
    const Image beforeStep = drawAndRead();

    onIdle();  // steps to the new throw and shows what drawScene drew
    const Image shown = readWindowOnScreen();
    const Image afterStep = drawAndRead();

    ASSERT_EQ(shown.rgb.size(), beforeStep.rgb.size());
    EXPECT_TRUE(shown.rgb == beforeStep.rgb) << "the screen must show the state before the step";
    EXPECT_FALSE(shown.rgb == afterStep.rgb);
}

TEST_F(Render, ResizedWindowStretchesTheSameScene)
{
    glutReshapeWindow(250, 500);
    for (int i = 0; i < 100 && glutGet(GLUT_WINDOW_WIDTH) != 250; ++i) pumpEvents(20);
    ASSERT_EQ(glutGet(GLUT_WINDOW_WIDTH), 250);
    pumpEvents(50);  // let GLUT's default reshape set the viewport

    scene.ballX = offScreenX;
    expectBoxNear(sceneBox(drawAndRead(), false), projectToWindow(-0.98, 0.98, -1.0, 250, 500),
                  projectToWindow(0.98, -0.98, -1.0, 250, 500), tolerancePixels);

    glutReshapeWindow(500, 500);
    for (int i = 0; i < 100 && glutGet(GLUT_WINDOW_WIDTH) != 500; ++i) pumpEvents(20);
}

}  // namespace
