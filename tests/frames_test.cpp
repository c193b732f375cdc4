// The frames drawn for the references (tools/draw_frames.cpp; the test
// render.draw) against the design's geometry and lighting: the floor and the
// ledge where the projection puts them, the floor's colour by the lighting
// equation, and in every frame of the throw the ball where that step puts it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "ball_motion.h"
#include "ppm.h"
#include "scene_state.h"

namespace {

const int side = 500;                            // window, pixels
const double ballRadius = 0.1 / 1.5 * side / 2;  // on screen, pixels

// Where a point in view coordinates lands in the window, in pixels from the
// top left: the orthographic box of +-1.5, turned 75 degrees about -x.
double windowX(double x)
{
    return (x / 1.5 + 1.0) * side / 2;
}
double windowY(double y, double z)
{
    const double tilt = 75.0 * std::acos(-1.0) / 180.0;
    return (1.0 - (y * std::cos(tilt) + z * std::sin(tilt)) / 1.5) * side / 2;
}

// A 500 x 500 frame as the frame dump wrote it: RGB, rows from the top.
using Pixels = std::vector<unsigned char>;
std::size_t at(int x, int y)
{
    const int pixel = y * side + x;
    return static_cast<std::size_t>(pixel) * 3;
}
Pixels frame(int swap)
{
    char path[4096];
    std::snprintf(path, sizeof path, "%s/%06d.ppm", FRAMES_DIR, swap);
    Image image;
    std::string error;
    const bool read = readPpm(path, image, error);
    EXPECT_TRUE(read) << error;
    EXPECT_TRUE(!read || (image.width == side && image.height == side))
        << path << ": " << image.width << " x " << image.height << " pixels, not " << side << " x " << side;
    if (!read || image.width != side || image.height != side)
        return Pixels(at(0, side));  // all black: the checks fail
    return image.rgb;
}

// The bounding box of the pixels in which two frames differ, within rows first to end.
struct Box {
    int left = side, top = side, right = -1, bottom = -1;
};
Box difference(const Pixels& a, const Pixels& b, int first = 0, int end = side)
{
    Box box;
    for (int y = first; y < end; ++y) {
        for (int x = 0; x < side; ++x) {
            if (std::equal(&a[at(x, y)], &a[at(x, y)] + 3, &b[at(x, y)])) continue;
            box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), y};
        }
    }
    return box;
}

// The floor's colour at (x, y) by the fixed-function lighting equation: the
// light model's and the light's ambient (0.9 each) on the floor's ambient, and
// the diffuse and specular light of the light at (0, -1, 1), seen from +z.
// The viewer sees the floor's back side, whose normal is (0, 0, 1).
double litFloor(int channel, double x, double y)
{
    const double ambient[] = {0.15, 0.22, 1.0}, diffuse[] = {0.35, 0.31, 0.09},
                 specular[] = {0.8, 0.72, 0.21};
    const double lx = -x, ly = -1.0 - y, lz = 2.0;  // towards the light from the floor at z = -1
    const double distance = std::hypot(lx, ly, lz);
    const double lit = lz / distance;  // normal . light direction
    const double half = (lit + 1.0) / std::hypot(lx / distance, ly / distance, lit + 1.0);
    const double value =
        1.8 * ambient[channel] + 0.8 * diffuse[channel] * lit + specular[channel] * std::pow(half, 95.0);
    return std::min(value, 1.0) * 255.0;
}

// The floor and the ledge, against a white window, where the projection puts
// their corners; the floor's colour where the lighting makes it.
TEST(Frames, FloorAndLedge)
{
    const Pixels plain = frame(1), white(plain.size(), 255);
    const struct {
        Box box;
        double left, top, right, bottom, z;  // view x, y and z of the corners (the ledge at height 100)
    } rectangles[] = {
        {difference(plain, white, side / 2, side), -0.98, 0.98, 0.98, -0.98, -1.0},         // the floor
        {difference(plain, white, 0, side / 2), -0.999, 0.145, -0.921, -0.245, 2.0 / 3.0},  // the ledge
    };
    for (const auto& r : rectangles) {
        EXPECT_NEAR(r.box.left, windowX(r.left), 1.5);
        EXPECT_NEAR(r.box.top, windowY(r.top, r.z), 1.5);
        EXPECT_NEAR(r.box.right + 1, windowX(r.right), 1.5);
        EXPECT_NEAR(r.box.bottom + 1, windowY(r.bottom, r.z), 1.5);
    }
    for (const double x : {-0.6, 0.0, 0.6}) {
        const std::size_t pixel = at(static_cast<int>(windowX(x)), static_cast<int>(windowY(0.3, -1.0)));
        for (int channel = 0; channel < 3; ++channel) {
            EXPECT_NEAR(plain[pixel + static_cast<std::size_t>(channel)], litFloor(channel, x, 0.3), 4.0)
                << "floor at x " << x << ", channel " << channel;
        }
    }
}

// The ball, where a frame differs from the plain one, is centred where the
// projection puts the ball's centre (on the floor only its top half shows).
TEST(Frames, BallWhereEachStepOfTheThrowPutsIt)
{
    const Pixels plain = frame(1);
    initSceneState();
    for (int state = 0; state <= throwSteps; ++state) {
        const Box ball = difference(frame(state + 2), plain);
        const double x = windowX(static_cast<double>(scene.ballX));
        const double y = windowY(0.0, static_cast<double>(heightToViewZ(scene.height)));
        EXPECT_NEAR((ball.left + ball.right + 1) / 2.0, x, 1.0) << "state " << state;
        EXPECT_NEAR(ball.top, y - ballRadius, 1.5) << "state " << state;
        stepBall();
    }
}

}  // namespace
