// Reliability: the motion over ten million steps, the real program over a
// long run with its memory measured, random pointer input, what a window
// manager and a dying X server do to the window, and bad command lines.
// The program's runs use CI-sized counts; with BOUNCING_BALL_SOAK=1 in the
// environment (the tests labelled soak) they use the full ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "ball_motion.h"
#include "end_to_end.h"
#include "scene_state.h"

namespace {

using namespace e2e;
using Clock = std::chrono::steady_clock;

bool soak()
{
    const char* value = std::getenv("BOUNCING_BALL_SOAK");
    return value != nullptr && std::strcmp(value, "1") == 0;
}

// ------------------------------------------------------------------ the motion

std::uint32_t bitsOf(float f)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

TEST(Motion, TenMillionStepsRepeatTheFirstThrowToTheBit)
{
    const long steps = 10'000'000;
    initSceneState();
    std::vector<std::uint32_t> firstThrow;  // six fields per step
    for (long i = 0; i < steps; ++i) {
        stepBall();
        const std::uint32_t now[] = {bitsOf(scene.height),
                                     bitsOf(scene.previousHeight),
                                     bitsOf(scene.launchVelocity),
                                     bitsOf(scene.ballX),
                                     static_cast<std::uint32_t>(scene.stepCount),
                                     static_cast<std::uint32_t>(scene.bounceStep)};
        ASSERT_TRUE(scene.height >= 0.0f) << "step " << i + 1 << ": height " << scene.height;
        ASSERT_TRUE(scene.stepCount >= 1 && scene.stepCount <= 100)
            << "step " << i + 1 << ": step counter " << scene.stepCount;
        const std::size_t inThrow = static_cast<std::size_t>(i % throwSteps) * 6;
        if (i < throwSteps) {
            firstThrow.insert(firstThrow.end(), std::begin(now), std::end(now));
            continue;
        }
        for (std::size_t field = 0; field < 6; ++field) {
            ASSERT_EQ(now[field], firstThrow[inThrow + field])
                << "step " << i + 1 << " (throw " << i / throwSteps + 1 << ", step " << i % throwSteps + 1
                << " of it), field " << field << " differs from the first throw";
        }
    }
}

// ------------------------------------------------------------------ the real program

// Waits for the frame lock's report of a swap; false on timeout or when the program is gone.
bool reachSwap(xdriver::FrameLock& lock, std::uint32_t swap, int timeoutMs)
{
    for (;;) {
        const auto reported = lock.nextSwap(timeoutMs);
        if (!reported) return false;
        if (*reported >= swap) return true;
    }
}

// The long runs: the watchdog waits until just before CTest's timeout.
class LongTest : public EndToEnd {
protected:
    LongTest() { watchdogSeconds_ = soak() ? 1750 : 290; }
};
class LongRun : public LongTest {};
class PointerFuzz : public LongTest {};

// A long run under the frame lock, which stops the program at two chosen
// frames: its resident memory at each, then a right click. Under the asan
// preset the leak check runs at the exit, and any sanitizer finding makes
// the exit status non-zero.
TEST_F(LongRun, ProgramKeepsMemoryFlatAndEndsCleanly)
{
    const std::uint32_t first = 10'000, last = soak() ? 100'000 : 20'000;
    xdriver::FrameLock lock;
    std::string error;
    ASSERT_TRUE(lock.open(FRAME_LOCK_PATH, error)) << error;
    lock.runUntil(first);  // the answer to the first report, sent ahead
    std::vector<std::string> env = lock.programEnvironment();
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer keeps freed blocks resident in a quarantine of up to
    // 256 MB, and recycling it makes its footprint creep for a long while
    // (+1.7 % from frame 10,000 to 100,000, where the build without
    // sanitizers stays flat to the KiB). A 1 MB quarantine leaves the
    // program's own memory to be measured; the leak check is unchanged.
    const char* options = std::getenv("ASAN_OPTIONS");
    env.push_back(std::string("ASAN_OPTIONS=") + (options != nullptr ? options : "") +
                  ":quarantine_size_mb=1");
#endif
    start({}, nullptr, env, {lock.programFd()});
    lock.programStarted();

    const int timeoutMs = static_cast<int>(last) * 20;  // 50 frames per second at the least
    ASSERT_TRUE(reachSwap(lock, first, timeoutMs)) << "the program stopped drawing before frame " << first;
    const long firstKiB = program_.residentKiB();
    const auto t0 = Clock::now();
    lock.runUntil(last);
    ASSERT_TRUE(reachSwap(lock, last, timeoutMs)) << "the program stopped drawing before frame " << last;
    const long lastKiB = program_.residentKiB();
    const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
    lock.release();

    const double growth = 100.0 * static_cast<double>(lastKiB - firstKiB) / static_cast<double>(firstKiB);
    std::printf(
        "resident memory %ld KiB after %u frames, %ld KiB after %u frames (%+.2f %%); "
        "%.0f frames per second in between\n",
        firstKiB, first, lastKiB, last, growth, (last - first) / seconds);
    RecordProperty("rss_kib_first", std::to_string(firstKiB));
    RecordProperty("rss_kib_last", std::to_string(lastKiB));
    ASSERT_GT(firstKiB, 0);
    EXPECT_LE(static_cast<double>(lastKiB), 1.01 * static_cast<double>(firstKiB))
        << "resident memory grew by more than 1 % between frame " << first << " and frame " << last;

    rightClickEndsWithStatusZero();
    EXPECT_EQ(program_.errorOutput().find("Sanitizer"), std::string::npos) << program_.errorOutput();
    EXPECT_EQ(program_.errorOutput().find("runtime error"), std::string::npos) << program_.errorOutput();
}

// Random pointer input from a fixed seed, in step with the program's frames
// (the frame lock), so that a seed replays the same events between the same
// frames: moves inside and outside the window, presses and releases of every
// button but the right one, drags that leave the window and come back.
TEST_F(PointerFuzz, LeavesTheSceneAnimatingAndLit)
{
    const int events = soak() ? 50'000 : 5'000;
    const char* seedText = std::getenv("BOUNCING_BALL_FUZZ_SEED");
    const std::uint32_t seed =
        seedText != nullptr ? static_cast<std::uint32_t>(std::strtoul(seedText, nullptr, 10)) : 20261207u;
    std::printf("pointer fuzz: %d events, seed %u (replay: BOUNCING_BALL_FUZZ_SEED=%u)\n", events, seed,
                seed);
    RecordProperty("seed", std::to_string(seed));

    xdriver::FrameLock lock;
    std::string error;
    ASSERT_TRUE(lock.open(FRAME_LOCK_PATH, error)) << error;
    lock.goOn();  // the answer to the first report, sent ahead
    start({}, nullptr, lock.programEnvironment(), {lock.programFd()});
    lock.programStarted();
    ASSERT_TRUE(reachSwap(lock, 2, 5000)) << "the program does not draw";

    std::mt19937 random(seed);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<std::uint32_t>(n)); };
    const unsigned buttons[] = {1, 2, 4, 5, 6,
                                7, 8, 9, 10};  // all of Xvfb's pointer buttons but the right one
    std::vector<unsigned> held;
    const auto inside = [&] { x_.moveTo(window_, pick(500), pick(500)); };
    const auto outside = [&] {
        if (pick(2) == 0)
            x_.moveTo(window_, 500 + pick(520), pick(766));
        else
            x_.moveTo(window_, pick(1020), 500 + pick(266));
    };
    int sent = 0, frames = 0;
    while (sent < events) {
        for (int burst = 1 + pick(4); burst > 0 && sent < events; --burst, ++sent) {
            const int kind = pick(10);
            if (kind < 4) {
                inside();
            } else if (kind < 6) {
                outside();
            } else if (kind < 8) {
                const unsigned button = buttons[pick(9)];
                if (std::find(held.begin(), held.end(), button) != held.end()) continue;
                x_.press(button);
                held.push_back(button);
            } else if (kind == 8 && !held.empty()) {
                const auto which = held.begin() + pick(static_cast<int>(held.size()));
                x_.release(*which);
                held.erase(which);
            } else {
                // A drag that leaves the window and comes back, a frame between its moves.
                const unsigned button = pick(2) == 0 ? leftButton : middleButton;
                inside();
                x_.press(button);
                for (int leg = 0; leg < 3; ++leg) {
                    if (leg == 1) {
                        outside();
                    } else {
                        inside();
                    }
                    lock.goOn();
                    ASSERT_TRUE(reachSwap(lock, 0, 5000))
                        << "the program stopped drawing after event " << sent;
                }
                x_.release(button);
                sent += 5;
            }
        }
        lock.goOn();
        ++frames;
        ASSERT_TRUE(reachSwap(lock, 0, 5000)) << "the program stopped drawing after event " << sent;
    }
    for (const unsigned button : held) x_.release(button);
    std::printf("pointer fuzz: %d events over %d frames\n", sent, frames);

    // One whole throw, frame by frame: lit, with the floor, the ledge and a moving ball.
    std::vector<Image> throwFrames;
    for (int i = 0; i < throwSteps; ++i) {
        lock.goOn();
        ASSERT_TRUE(reachSwap(lock, 0, 5000)) << "the program stopped drawing after the fuzz";
        throwFrames.push_back(grab());
    }
    lock.release();
    const Image still = medianImage(throwFrames);
    int ballSeen = 0;
    for (const Image& frame : throwFrames) {
        int white = 0, dark = 0;
        for (std::size_t i = 0; i < frame.rgb.size(); i += 3) {
            white += isWhite(&frame.rgb[i]) ? 1 : 0;
            dark += frame.rgb[i] + frame.rgb[i + 1] + frame.rgb[i + 2] < 150 ? 1 : 0;
        }
        ASSERT_EQ(dark, 0) << "dark pixels: the scene is not lit";
        ASSERT_GT(white, frame.width * frame.height / 3) << "too little white background";
        ballSeen += findBall(frame, still).found ? 1 : 0;
    }
    int floorPixels = 0, ledgePixels = 0;
    for (std::size_t i = 0; i < still.rgb.size(); i += 3) {
        floorPixels += isFloorBlue(&still.rgb[i]) ? 1 : 0;
        ledgePixels += isLedgeGreen(&still.rgb[i]) ? 1 : 0;
    }
    std::printf("after the fuzz: floor %d pixels, ledge %d pixels, ball seen in %d of %d frames\n",
                floorPixels, ledgePixels, ballSeen, throwSteps);
    EXPECT_GE(floorPixels, 100) << "no floor";
    EXPECT_GE(ledgePixels, 10) << "no ledge (seed " << seed << ")";
    EXPECT_GE(ballSeen, 10) << "no moving ball";

    rightClickEndsWithStatusZero();
}

// ------------------------------------------------------------------ the window system

// A screen larger than the largest window size tried.
class WindowSystem : public EndToEnd {
public:
    WindowSystem() { screenSize_ = "2100x2100"; }
};

TEST_F(WindowSystem, ResizeUnmapAndMapKeepTheSceneStretchedAndAnimating)
{
    start();
    for (const auto& [width, height] :
         {std::pair{1, 1}, std::pair{64, 500}, std::pair{2000, 2000}, std::pair{500, 500}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        x_.resize(window_, static_cast<unsigned>(width), static_cast<unsigned>(height));
        xdriver::Geometry g;
        for (int i = 0; i < 200 && (x_.geometry(window_, g), g.width != width || g.height != height); ++i) {
            xdriver::sleepMs(10);
        }
        ASSERT_EQ(g.width, width);
        ASSERT_EQ(g.height, height);
        xdriver::sleepMs(300);
        ASSERT_TRUE(program_.running()) << program_.errorOutput();
        if (width == 1) continue;  // all of it is off the screen, at (-1, -1)
        // The projection does not change: the floor stretches with the window.
        expectBoxNear(floorBox(), projectToWindow(-0.98, 0.98, -1.0, width, height),
                      projectToWindow(0.98, -0.98, -1.0, width, height),
                      tolerancePixels + 0.004 * std::max(width, height));
    }

    x_.unmap(window_);
    xdriver::sleepMs(300);
    ASSERT_TRUE(program_.running()) << program_.errorOutput();
    x_.map(window_);
    std::string error;
    ASSERT_NE(x_.waitForWindow(windowTitle, 5000, &program_, error), 0u) << error;
    xdriver::sleepMs(100);

    // Back at 500 x 500 the ball is again on the throw's path, and moving.
    expectBallMovingOnPath();
}

TEST_F(WindowSystem, CloseMessageOfAWindowManagerEndsWithStatusZero)
{
    start();
    x_.sendDeleteWindow(window_);
    expectEndsWithStatusZero();
}

// Not the fixture: its connection to the server would die with the server.
TEST(WindowSystemFailure, KilledServerEndsTheProgramWithAMessage)
{
    PrivateXServer server;
    std::string error;
    ASSERT_TRUE(server.start(error)) << "cannot start Xvfb: " << error;
    xdriver::Program program;
    ASSERT_TRUE(program.start(BOUNCING_BALL_PATH, {}, server.display(), error)) << error;
    {
        xdriver::Connection x;
        ASSERT_TRUE(x.open(server.display(), error)) << error;
        ASSERT_NE(x.waitForWindow(windowTitle, 15000, &program, error), 0u) << error;
    }
    xdriver::sleepMs(300);
    ASSERT_TRUE(program.running()) << program.errorOutput();
    ::kill(server.pid(), SIGKILL);
    const auto status = program.waitExit(5000);
    ASSERT_TRUE(status.has_value()) << "the program still runs 5 s after its X server was killed";
    EXPECT_TRUE(status->exited && status->code != 0) << status->describe();
    EXPECT_NE(program.errorOutput().find(server.display()), std::string::npos)
        << "the message does not name the display: " << program.errorOutput();
}

// ------------------------------------------------------------------ the command line

struct BadArguments {
    const char* name;
    // cppcheck-suppress unusedStructMember ; read through GetParam()
    std::vector<std::string> args;  // "{display}" stands for the test's server
    // cppcheck-suppress unusedStructMember ; read through GetParam()
    bool ends;  // true: ends with a message; false: GLUT ignores it and the program runs
};

std::ostream& operator<<(std::ostream& out, const BadArguments& arguments)
{
    return out << arguments.name;
}

class CommandLine : public EndToEnd, public testing::WithParamInterface<BadArguments> {};

TEST_P(CommandLine, EndsWithAMessageOrIsIgnored)
{
    std::vector<std::string> args = GetParam().args;
    for (auto& a : args) {
        if (a.rfind("{display}", 0) == 0) a = server_.display() + a.substr(9);
    }
    if (!GetParam().ends) {
        start(args);
        xdriver::sleepMs(300);
        ASSERT_TRUE(program_.running());
        xdriver::Geometry g;
        ASSERT_TRUE(x_.geometry(window_, g));
        rightClickEndsWithStatusZero(std::min(g.width / 2, 250), std::min(g.height / 2, 250));
        return;
    }
    std::string error;
    ASSERT_TRUE(program_.start(BOUNCING_BALL_PATH, args, server_.display(), error)) << error;
    expectEndsWithAnError(10000);
    EXPECT_NE(program_.errorOutput().find("freeglut"), std::string::npos)
        << "no message from GLUT: " << program_.errorOutput();
}

INSTANTIATE_TEST_SUITE_P(
    Glut, CommandLine,
    testing::Values(BadArguments{"UnknownOption", {"-no-such-option", "x"}, false},
                    BadArguments{"MalformedGeometry", {"-geometry", "garbage"}, false},
                    BadArguments{"EmptyGeometry", {"-geometry", "0x0+10+10"}, false},
                    BadArguments{"DisplayWithoutValue", {"-display"}, true},
                    BadArguments{"ScreenThatDoesNotExist", {"-display", "{display}.7"}, true},
                    BadArguments{"GeometryWithoutValue", {"-geometry"}, true}),
    [](const testing::TestParamInfo<BadArguments>& arguments) { return std::string(arguments.param.name); });

}  // namespace
