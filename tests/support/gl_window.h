// The program's own window, opened in the test process on a real X server,
// and helpers to read its pixels and to place points as the projection does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Opens the window once per process (with the program's callbacks and GL
// state) and waits until it is mapped. Starts Xvfb when there is no display.
void openTestWindow();

// Processes pending window-system events for about the given time.
void pumpEvents(int milliseconds);

struct Image {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;  // rows bottom to top, as OpenGL reads them

    const std::uint8_t* at(int x, int y) const
    {
        return &rgb[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                     static_cast<std::size_t>(x)) *
                    3];
    }
    bool isWhite(int x, int y) const
    {
        const std::uint8_t* p = at(x, y);
        return p[0] == 255 && p[1] == 255 && p[2] == 255;
    }
};

// Reads the whole window from the given GL buffer (GL_BACK: what drawScene drew last).
Image readPixels(unsigned buffer);

// Reads what the X server shows in the window now, after the latest swap.
Image readWindowOnScreen();

// Bounding box of a set of pixels, in pixel edges: [minX, maxX) x [minY, maxY), y up.
struct Box {
    int minX = 1 << 30, maxX = -1, minY = 1 << 30, maxY = -1;
    bool empty() const { return maxX < 0; }
    void add(int x, int y);
};

// Where a view-coordinate point lands in a window of the given size, in pixels
// from the bottom-left corner, under the program's fixed projection: an
// orthographic box of +-1.5 on every axis, tilted 75 degrees about -x.
struct ScreenPoint {
    double x, y;
};
ScreenPoint projectPoint(double x, double y, double z, int width = 500, int height = 500);

// Ball radius on screen in a 500-pixel window: 0.1 view units of 3.
constexpr double ballRadiusPixels = 0.1 / 3.0 * 500.0;
