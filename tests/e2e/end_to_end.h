// The fixture of the tests that run the real bouncing-ball binary: a private
// Xvfb server per test, the program as a child, its window, grabs and its
// exit status. No window manager: the program's window sits at (-1, -1), so
// grabs hold its on-screen part, from (1, 1).
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>
#include <vector>

#include "picture_expect.h"
#include "scene_picture.h"
#include "watchdog.h"
#include "x_server.h"
#include "xdriver.h"

namespace e2e {

using namespace scene_picture;
using xdriver::Image;

const char* const windowTitle = "Bouncing ball 1   -by: VOLM-";
const double tolerancePixels = 2.0;  // for edges: the floor's and ledge's outlines
const double pathTolerance = 3.0;    // a grabbed ball centre from its computed place on the path

const unsigned leftButton = 1, middleButton = 2, rightButton = 3;

class EndToEnd : public testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        const std::string name = std::string(info->test_suite_name()) + "." + info->name();
        watchdog_.arm(watchdogSeconds_, name.c_str(), program_, server_);
        std::string error;
        ASSERT_TRUE(server_.start(error, screenSize_)) << "cannot start Xvfb: " << error;
        ASSERT_TRUE(x_.open(server_.display(), error)) << error;
    }

    void TearDown() override
    {
        // Keeps the last grab of a failed test for a look (in the test's working directory).
        if (HasFailure() && !lastGrab_.rgb.empty()) {
            const auto* info = testing::UnitTest::GetInstance()->current_test_info();
            std::string error;
            xdriver::writePng(
                std::string("e2e-failed-") + info->test_suite_name() + "-" + info->name() + ".png", lastGrab_,
                error);
        }
    }

    // Starts the program (arguments passed through) with DISPLAY set to display and
    // waits for its window on the test's server.
    // extraEnv and keepFds go to Program::start (a frame lock, for one).
    void start(const std::vector<std::string>& args = {}, const std::string* display = nullptr,
               const std::vector<std::string>& extraEnv = {}, const std::vector<int>& keepFds = {})
    {
        std::string error;
        ASSERT_TRUE(program_.start(BOUNCING_BALL_PATH, args, display ? *display : server_.display(), error,
                                   extraEnv, keepFds))
            << error;
        window_ = x_.waitForWindow(windowTitle, 15000, &program_, error);
        ASSERT_NE(window_, 0u) << error;
        // The window is mapped before its first frame is shown: wait until its
        // content changes from what it held when it was mapped, then a little more.
        const Image mapped = grab();
        for (int i = 0; i < 500 && grab().rgb == mapped.rgb; ++i) xdriver::sleepMs(10);
        xdriver::sleepMs(50);
    }

    Image grab()
    {
        Image image;
        std::string error;
        EXPECT_TRUE(x_.grab(window_, image, error)) << error;
        lastGrab_ = image;
        return image;
    }

    std::vector<Image> grabs(int count, int pauseMs)
    {
        std::vector<Image> images;
        for (int i = 0; i < count; ++i) {
            if (i > 0) xdriver::sleepMs(pauseMs);
            images.push_back(grab());
        }
        return images;
    }

    // The picture without the ball: the median of 5 grabs in which the ball is
    // at least a diameter away from where it was in the grab before (the ball's
    // pace depends on the program's frame rate, which is low on a busy machine).
    // Within 5 s; if the ball does not move, what was grabbed by then.
    Image background()
    {
        std::vector<Image> apart{grab()};
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (apart.size() < 5 && std::chrono::steady_clock::now() < deadline) {
            xdriver::sleepMs(15);
            Image next = grab();
            const PixelBox moved = findBall(next, apart.back()).box;  // both balls: where the grabs differ
            if (!moved.empty() && moved.maxX - moved.minX >= 4.0 * ballRadiusPixels) apart.push_back(next);
        }
        return medianImage(apart);
    }

    PixelBox floorBox() { return boxOf(grab(), isFloorBlue); }

    // Waits for the program's end after the right button, and expects status 0.
    void expectEndsWithStatusZero()
    {
        const auto status = program_.waitExit(5000);
        ASSERT_TRUE(status.has_value()) << "the program still runs 5 s after the right button";
        EXPECT_TRUE(status->exited && status->code == 0)
            << status->describe() << "; it wrote: " << program_.errorOutput();
    }

    // Waits for the program to end by itself, and expects a non-zero exit status (not a signal).
    void expectEndsWithAnError(int timeoutMs)
    {
        const auto status = program_.waitExit(timeoutMs);
        ASSERT_TRUE(status.has_value()) << "the program still runs " << timeoutMs / 1000 << " s later";
        EXPECT_TRUE(status->exited && status->code != 0) << status->describe();
    }

    // A right click at a window position, then the end with status 0.
    void rightClickEndsWithStatusZero(int x = 250, int y = 250)
    {
        x_.moveTo(window_, x, y);
        x_.press(rightButton);
        x_.release(rightButton);
        expectEndsWithStatusZero();
    }

    // Ten grabs 50 ms apart: the ball in each, on the throw's path, at five or
    // more different places (a still ball gives one; a moving one seldom repeats).
    void expectBallMovingOnPath()
    {
        const Image still = background();
        const auto path = ballPath();
        std::set<int> steps;
        const auto frames = grabs(10, 50);
        for (size_t i = 0; i < frames.size(); ++i) {
            const BallSighting ball = findBall(frames[i], still);
            ASSERT_TRUE(ball.found) << "grab " << i << " shows no ball apart from the background";
            const PathMatch match = nearestOnPath(path, ball.centre);
            EXPECT_LE(match.distance, pathTolerance) << "grab " << i << ": ball centre " << ball.centre.x
                                                     << "," << ball.centre.y << " is off the path";
            steps.insert(match.step);
        }
        EXPECT_GE(steps.size(), 5u) << "the ball's place differs in too few of 10 grabs";
    }

    const char* screenSize_ = "1024x768";  // a test that needs a larger screen sets it in its constructor
    unsigned watchdogSeconds_ = 50;        // below CTest's timeout; a longer test sets it in its constructor
    // Member order: the connection closes first, then the program is killed,
    // then the server stops, and the watchdog watches until the end.
    xdriver::Watchdog watchdog_;
    PrivateXServer server_;
    xdriver::Program program_;
    xdriver::Connection x_;
    Window window_ = 0;
    Image lastGrab_;
};

}  // namespace e2e
