// End-to-end tests: the real bouncing-ball binary as a child process on a
// private Xvfb server that each test starts, seen and driven from outside
// through Xlib and XTest, as a user would: its window, the animation, real
// pointer events and its exit status. No window manager: the program's window
// sits at (-1, -1), so grabs hold its on-screen part, from (1, 1).
#include <gtest/gtest.h>

#include <unistd.h>
#include <string>
#include <vector>

#include "end_to_end.h"

namespace {

using namespace e2e;

// ------------------------------------------------------------------ the window

TEST_F(EndToEnd, WindowHasTheTitleAndIs500By500)
{
    start();
    EXPECT_EQ(x_.findWindow(windowTitle), window_);
    xdriver::Geometry g;
    ASSERT_TRUE(x_.geometry(window_, g));
    EXPECT_EQ(g.width, 500);
    EXPECT_EQ(g.height, 500);
}

TEST_F(EndToEnd, WindowShowsWhiteBackgroundFloorLedgeAndBall)
{
    start();
    // The floor and ledge without the ball, which hides part of the ledge at the start of every throw.
    const Image image = background();
    const int last = 499;
    for (const auto& [x, y] :
         {std::pair{image.x0, image.y0}, std::pair{last, image.y0}, std::pair{image.x0, last},
          std::pair{last, last}, std::pair{250, image.y0}, std::pair{250, last}}) {
        ASSERT_TRUE(image.contains(x, y));
        EXPECT_TRUE(isWhite(image.at(x, y))) << "pixel " << x << "," << y;
    }

    // The floor: a blue band low in the window; the ledge: green, high at the left.
    const PixelBox floor = boxOf(image, isFloorBlue);
    ASSERT_FALSE(floor.empty()) << "no blue floor";
    const PixelBox ledge = boxOf(image, isLedgeGreen);
    ASSERT_FALSE(ledge.empty()) << "no green ledge";
    expectFloorAndLedge(floor, ledge, tolerancePixels);

    // The ball: its size on screen, and its centre on the throw's path.
    const BallSighting ball = findBall(grab(), image);
    ASSERT_TRUE(ball.found) << "no ball";
    EXPECT_NEAR(ball.box.maxX - ball.box.minX, 2.0 * ballRadiusPixels, 2.0 * tolerancePixels);
    const PathMatch match = nearestOnPath(ballPath(), ball.centre);
    EXPECT_LE(match.distance, pathTolerance) << "ball centre " << ball.centre.x << "," << ball.centre.y;
}

// ------------------------------------------------------------------ the animation

TEST_F(EndToEnd, BallMovesAlongTheThrowsPath)
{
    start();
    expectBallMovingOnPath();
}

// ------------------------------------------------------------------ the pointer

class Drag : public EndToEnd, public testing::WithParamInterface<unsigned> {};

TEST_P(Drag, TurnsTheScene)
{
    start();
    const PixelBox before = floorBox();
    ASSERT_EQ(floorBox(), before) << "the floor moves without any pointer event";
    x_.drag(window_, GetParam(), 250, 250, 330, 300, 16, 15);
    xdriver::sleepMs(100);
    const PixelBox after = floorBox();
    EXPECT_FALSE(after == before) << "the floor's outline did not change after the drag";
    EXPECT_TRUE(program_.running());
}

TEST_P(Drag, PressAndReleaseWithoutMovementDoNotTurn)
{
    start();
    x_.moveTo(window_, 250, 250);
    xdriver::sleepMs(50);
    const PixelBox before = floorBox();
    x_.press(GetParam());
    xdriver::sleepMs(200);
    x_.release(GetParam());
    xdriver::sleepMs(200);
    EXPECT_EQ(floorBox(), before) << "the floor's outline changed without movement";
    EXPECT_TRUE(program_.running());
}

INSTANTIATE_TEST_SUITE_P(Buttons, Drag, testing::Values(leftButton, middleButton),
                         [](const testing::TestParamInfo<unsigned>& button) {
                             return button.param == leftButton ? "Left" : "Middle";
                         });

TEST_F(EndToEnd, RightButtonEndsWithStatusZero)
{
    start();
    x_.moveTo(window_, 250, 250);
    xdriver::sleepMs(100);
    ASSERT_TRUE(program_.running());
    x_.press(rightButton);
    x_.release(rightButton);
    expectEndsWithStatusZero();
}

TEST_F(EndToEnd, RightButtonEndsWithStatusZeroInTheMiddleOfALeftDrag)
{
    start();
    x_.moveTo(window_, 200, 200);
    x_.press(leftButton);
    x_.moveInSteps(window_, 200, 200, 260, 240, 8, 15);
    ASSERT_TRUE(program_.running());
    x_.press(rightButton);
    expectEndsWithStatusZero();
    x_.release(rightButton);
    x_.release(leftButton);
}

TEST_F(EndToEnd, RightButtonEndsWithStatusZeroWhileTheMiddleButtonIsHeld)
{
    start();
    x_.moveTo(window_, 250, 250);
    x_.press(middleButton);
    xdriver::sleepMs(100);
    ASSERT_TRUE(program_.running());
    x_.press(rightButton);
    expectEndsWithStatusZero();
    x_.release(rightButton);
    x_.release(middleButton);
}

// ------------------------------------------------------------------ the command line

TEST_F(EndToEnd, DisplayOptionGoesToGlut)
{
    // No DISPLAY in the environment: the window can only reach the server through -display.
    const std::string none;
    start({"-display", server_.display()}, &none);
    rightClickEndsWithStatusZero();
}

TEST_F(EndToEnd, DisplayThatDoesNotExistEndsWithAMessage)
{
    // A display number with no server: no lock file and no socket.
    int number = 4000;
    while (access(("/tmp/.X" + std::to_string(number) + "-lock").c_str(), F_OK) == 0 ||
           access(("/tmp/.X11-unix/X" + std::to_string(number)).c_str(), F_OK) == 0) {
        ++number;
    }
    const std::string missing = ":" + std::to_string(number);
    std::string error;
    ASSERT_TRUE(program_.start(BOUNCING_BALL_PATH, {"-display", missing}, server_.display(), error)) << error;
    expectEndsWithAnError(10000);
    const std::string message = program_.errorOutput();
    EXPECT_NE(message.find(missing), std::string::npos)
        << "the message does not name the display: " << message;
    EXPECT_NE(message.find("display"), std::string::npos) << message;
}

}  // namespace
