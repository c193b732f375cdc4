// End-to-end tests: the real bouncing-ball binary as a child process on a
// private Xvfb server that each test starts, seen and driven from outside
// through Xlib and XTest, as a user would: its window, the animation, real
// pointer events and its exit status. No window manager: the program's window
// sits at (-1, -1), so grabs hold its on-screen part, from (1, 1).
#include <gtest/gtest.h>

#include <unistd.h>
#include <set>
#include <string>
#include <vector>

#include "end_to_end.h"
#include "picture_expect.h"

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

    // The floor: a blue band from about 9% to 26% of the height above the bottom, 17% to 83% of the width.
    const PixelBox floor = boxOf(image, isFloorBlue);
    ASSERT_FALSE(floor.empty()) << "no blue floor";
    expectBoxNear(floor, projectToWindow(-0.98, 0.98, -1.0), projectToWindow(0.98, -0.98, -1.0),
                  tolerancePixels);
    EXPECT_NEAR(1.0 - floor.maxY / 500.0, 0.09, 0.01);
    EXPECT_NEAR(1.0 - floor.minY / 500.0, 0.26, 0.01);
    EXPECT_NEAR(floor.minX / 500.0, 0.17, 0.01);
    EXPECT_NEAR(floor.maxX / 500.0, 0.83, 0.01);

    // The ledge: green, near 70% of the height, 17% to 19% of the width.
    const PixelBox ledge = boxOf(image, isLedgeGreen);
    ASSERT_FALSE(ledge.empty()) << "no green ledge";
    const double z = 2.0 * 100.0 / 120.0 - 1.0;
    expectBoxNear(ledge, projectToWindow(-0.999, 0.145, z), projectToWindow(-0.921, -0.245, z),
                  tolerancePixels);
    EXPECT_NEAR(1.0 - (ledge.minY + ledge.maxY) / 2.0 / 500.0, 0.70, 0.02);

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
    const Image scene = background();
    const auto path = ballPath();
    std::set<int> steps;
    const auto frames = grabs(10, 50);
    for (size_t i = 0; i < frames.size(); ++i) {
        const BallSighting ball = findBall(frames[i], scene);
        ASSERT_TRUE(ball.found) << "grab " << i << " shows no ball apart from the background";
        const PathMatch match = nearestOnPath(path, ball.centre);
        EXPECT_LE(match.distance, pathTolerance) << "grab " << i << ": ball centre " << ball.centre.x << ","
                                                 << ball.centre.y << " is off the path";
        steps.insert(match.step);
    }
    // Grabs 50 ms apart: a still ball gives one place; a moving one seldom repeats one.
    EXPECT_GE(steps.size(), 5u) << "the ball's place differs in too few of 10 grabs";
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
    x_.moveTo(window_, 250, 250);
    x_.press(rightButton);
    x_.release(rightButton);
    expectEndsWithStatusZero();
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
    const auto status = program_.waitExit(10000);
    ASSERT_TRUE(status.has_value()) << "the program still runs 10 s after it was pointed at " << missing;
    EXPECT_TRUE(status->exited && status->code != 0) << status->describe();
    const std::string message = program_.errorOutput();
    EXPECT_NE(message.find(missing), std::string::npos)
        << "the message does not name the display: " << message;
    EXPECT_NE(message.find("display"), std::string::npos) << message;
}

}  // namespace
