// What the program's picture should hold, and how to find things in a grab:
// the fixed projection, the ball's path over a throw (from the real stepBall),
// a background without the ball, the ball itself, and the floor and ledge colours.
#pragma once

#include <vector>

#include "xdriver.h"

namespace scene_picture {

constexpr int windowSize = 500;  // pixels on each side

// Ball radius on screen in a 500-pixel window: 0.1 view units of 3.
constexpr double ballRadiusPixels = 0.1 / 3.0 * windowSize;

// Where a view-coordinate point lands in the window, in pixels from the
// top-left corner (X's direction), under the program's fixed projection: an
// orthographic box of +-1.5 on every axis, tilted 75 degrees about -x.
struct WindowPoint {
    double x, y;
};
WindowPoint projectToWindow(double x, double y, double z, int width = windowSize, int height = windowSize);

// The centre of the ball on screen after each step of a throw, from the real
// stepBall: index 0 is the start-up position (before any step), index k the
// position after step k of a throw (k = 1..99). Every later throw repeats 1..99.
// The window's size stretches the picture (the projection does not change).
std::vector<WindowPoint> ballPath(int width = windowSize, int height = windowSize);

// The path index nearest to a point, and its distance in pixels.
struct PathMatch {
    int step = -1;
    double distance = 1e9;
};
PathMatch nearestOnPath(const std::vector<WindowPoint>& path, WindowPoint p);

// A set of pixels as a box of pixel edges: [minX, maxX) x [minY, maxY), y down.
struct PixelBox {
    int minX = 1 << 30, maxX = -1, minY = 1 << 30, maxY = -1;
    bool empty() const { return maxX < 0; }
    void add(int x, int y);
    bool operator==(const PixelBox& o) const
    {
        return minX == o.minX && maxX == o.maxX && minY == o.minY && maxY == o.maxY;
    }
};

// Per-pixel median of images of the same window region: with the ball at
// different places in each, the picture without the ball.
xdriver::Image medianImage(const std::vector<xdriver::Image>& images);

// The ball in a frame: the pixels that differ from the background. Its centre
// is taken from the box's left and right ends and its top, which the floor and
// the ledge never hide.
struct BallSighting {
    bool found = false;
    PixelBox box;
    WindowPoint centre{0, 0};
};
// radiusY is the ball's radius up the screen, in pixels.
BallSighting findBall(const xdriver::Image& frame, const xdriver::Image& background,
                      double radiusY = ballRadiusPixels);

// Colour classes of the lit scene.
bool isWhite(const std::uint8_t* p);
bool isFloorBlue(const std::uint8_t* p);   // blue far above red and green
bool isLedgeGreen(const std::uint8_t* p);  // green far above red and blue

template <typename Predicate>
PixelBox boxOf(const xdriver::Image& image, Predicate predicate)
{
    PixelBox box;
    for (int y = image.y0; y < image.y0 + image.height; ++y) {
        for (int x = image.x0; x < image.x0 + image.width; ++x) {
            if (predicate(image.at(x, y))) box.add(x, y);
        }
    }
    return box;
}

}  // namespace scene_picture
