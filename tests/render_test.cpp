// The picture, read back from a real window: background, floor, ledge and
// ball where the projection puts them, and the frame shown one step behind.
#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "app.h"
#include "draw.h"
#include "gl_window.h"
#include "scene_state.h"

namespace {

const float offScreenX = 5.0f;  // a ballX outside the view box: the ball is clipped away
const double tolerancePixels = 1.5;

class Render : public testing::Test {
protected:
    static void SetUpTestSuite() { openTestWindow(); }

    void SetUp() override
    {
        initSceneState();
        initMeshes();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    static Image drawAndRead()
    {
        drawScene();
        return readPixels(GL_BACK);
    }

    // The pixels the ball covers at its current place: those that change when it is moved away.
    static Box ballPixels()
    {
        const Image withBall = drawAndRead();
        const float x = scene.ballX;
        scene.ballX = offScreenX;
        const Image without = drawAndRead();
        scene.ballX = x;
        Box box;
        for (int py = 0; py < withBall.height; ++py) {
            for (int px = 0; px < withBall.width; ++px) {
                const std::uint8_t* a = withBall.at(px, py);
                const std::uint8_t* b = without.at(px, py);
                if (a[0] != b[0] || a[1] != b[1] || a[2] != b[2]) box.add(px, py);
            }
        }
        return box;
    }
};

// Floor and ledge pixels with the ball out of the picture: every pixel that is
// not white, split by the middle of the window (the ledge is high, the floor low).
struct SceneBoxes {
    Box floor, ledge;
};

SceneBoxes sceneBoxes(const Image& image)
{
    SceneBoxes boxes;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (image.isWhite(x, y)) continue;
            (y < image.height / 2 ? boxes.floor : boxes.ledge).add(x, y);
        }
    }
    return boxes;
}

void expectBoxNear(const Box& box, ScreenPoint low, ScreenPoint high, double tolerance)
{
    EXPECT_NEAR(box.minX, low.x, tolerance);
    EXPECT_NEAR(box.maxX, high.x, tolerance);
    EXPECT_NEAR(box.minY, low.y, tolerance);
    EXPECT_NEAR(box.maxY, high.y, tolerance);
}

TEST_F(Render, WindowIs500By500WithWhiteBackground)
{
    EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), 500);
    EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), 500);
    const Image image = drawAndRead();
    for (const auto& corner : {std::pair{0, 0}, std::pair{499, 0}, std::pair{0, 499}, std::pair{499, 499}}) {
        EXPECT_TRUE(image.isWhite(corner.first, corner.second)) << corner.first << "," << corner.second;
    }
}

TEST_F(Render, FloorIsABlueBandLowInTheWindow)
{
    scene.ballX = offScreenX;
    const Image image = drawAndRead();
    const Box floor = sceneBoxes(image).floor;
    ASSERT_FALSE(floor.empty());
    // The floor's corners under the projection: about 9% to 26% of the height, 17% to 83% of the width.
    const ScreenPoint nearLeft = projectPoint(-0.98, -0.98, -1.0);
    const ScreenPoint farRight = projectPoint(0.98, 0.98, -1.0);
    expectBoxNear(floor, nearLeft, farRight, tolerancePixels);
    EXPECT_NEAR(floor.minY / 500.0, 0.09, 0.01);
    EXPECT_NEAR(floor.maxY / 500.0, 0.26, 0.01);
    EXPECT_NEAR(floor.minX / 500.0, 0.17, 0.01);
    EXPECT_NEAR(floor.maxX / 500.0, 0.83, 0.01);
}

TEST_F(Render, LedgeIsAGreenStripHighAtTheLeft)
{
    scene.ballX = offScreenX;
    const Image image = drawAndRead();
    const Box ledge = sceneBoxes(image).ledge;
    ASSERT_FALSE(ledge.empty());
    const double z = static_cast<double>(heightToViewZ(scene.launchHeight));
    expectBoxNear(ledge, projectPoint(-0.999, -0.245, z), projectPoint(-0.921, 0.145, z), tolerancePixels);
    EXPECT_NEAR((ledge.minY + ledge.maxY) / 2.0 / 500.0, 0.70, 0.02);
}

// The colour OpenGL's fixed-function lighting gives a vertex of the floor or the
// ledge: the light model's and the light's ambient, and the diffuse and specular
// light of the positional light at (0, -1, 1), with the viewer at infinity along
// +z. Both grids face the viewer with their back side, whose normal points up.
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
    const double x = mesh.x[row][column], y = mesh.y[row][column], z = mesh.z[row][column];
    const ScreenPoint at = projectPoint(x, y, z);
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
    const std::array<double, 3> floorAmbient{0.15, 0.22, 1.0};
    const std::array<double, 3> ledgeAmbient{0.15, 0.82, 0.16};
    // Away from the highlight at the near edge, where the colour changes slowly.
    for (const auto& vertex : {std::pair{45, 5}, std::pair{45, 25}, std::pair{45, 44}, std::pair{30, 10},
                               std::pair{30, 40}, std::pair{20, 25}}) {
        expectLitLike(image, scene.floorMesh, vertex.first, vertex.second, floorAmbient);
    }
    expectLitLike(image, scene.ledgeMesh, 20, 20, ledgeAmbient);
    expectLitLike(image, scene.ledgeMesh, 5, 35, ledgeAmbient);
}

// cppcheck does not see the fields read through GetParam().
struct BallPlace {
    // cppcheck-suppress unusedStructMember ; read by the test name generator
    const char* name;
    // cppcheck-suppress unusedStructMember ; read through GetParam()
    float ballX, height;
};

void PrintTo(const BallPlace& place, std::ostream* out)
{
    *out << place.name;
}

class BallPosition : public Render, public testing::WithParamInterface<BallPlace> {};

TEST_P(BallPosition, CentreIsWhereTheProjectionPutsIt)
{
    scene.ballX = GetParam().ballX;
    scene.height = GetParam().height;
    const Box ball = ballPixels();
    ASSERT_FALSE(ball.empty());
    const ScreenPoint centre =
        projectPoint(static_cast<double>(scene.ballX), 0.0, static_cast<double>(heightToViewZ(scene.height)));
    // The outline's left and right ends and its top are never hidden by the floor or the ledge.
    EXPECT_NEAR((ball.minX + ball.maxX) / 2.0, centre.x, tolerancePixels);
    EXPECT_NEAR(ball.maxX - ball.minX, 2.0 * ballRadiusPixels, 2.0 * tolerancePixels);
    EXPECT_NEAR(ball.maxY - ballRadiusPixels, centre.y, tolerancePixels);
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
    const Box ball = ballPixels();
    EXPECT_NEAR((ball.maxY - ballRadiusPixels) / 500.0, 0.18, 0.01);
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
    const Box floor = sceneBoxes(drawAndRead()).floor;
    expectBoxNear(floor, projectPoint(-0.98, -0.98, -1.0, 250, 500), projectPoint(0.98, 0.98, -1.0, 250, 500),
                  tolerancePixels);

    glutReshapeWindow(500, 500);
    for (int i = 0; i < 100 && glutGet(GLUT_WINDOW_WIDTH) != 500; ++i) pumpEvents(20);
}

}  // namespace
