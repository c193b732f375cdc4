#include "scene_picture.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "ball_motion.h"
#include "scene_state.h"

namespace scene_picture {

WindowPoint projectToWindow(double x, double y, double z, int width, int height)
{
    const double pi = std::acos(-1.0);
    const double tilt = 75.0 * pi / 180.0;
    // A turn by 75 degrees about -x is a turn by -75 degrees about +x.
    const double screenY = y * std::cos(tilt) + z * std::sin(tilt);
    const double extent = 1.5;
    return WindowPoint{(x / extent + 1.0) / 2.0 * width, (1.0 - (screenY / extent + 1.0) / 2.0) * height};
}

std::vector<WindowPoint> ballPath(int width, int height)
{
    initSceneState();
    std::vector<WindowPoint> path;
    path.push_back(projectToWindow(static_cast<double>(scene.ballX), 0.0,
                                   static_cast<double>(heightToViewZ(scene.height)), width, height));
    for (int step = 1; step <= throwSteps; ++step) {
        stepBall();
        path.push_back(projectToWindow(static_cast<double>(scene.ballX), 0.0,
                                       static_cast<double>(heightToViewZ(scene.height)), width, height));
    }
    return path;
}

PathMatch nearestOnPath(const std::vector<WindowPoint>& path, WindowPoint p)
{
    PathMatch best;
    for (size_t i = 0; i < path.size(); ++i) {
        const double d = std::hypot(path[i].x - p.x, path[i].y - p.y);
        if (d < best.distance) {
            best.distance = d;
            best.step = static_cast<int>(i);
        }
    }
    return best;
}

void PixelBox::add(int x, int y)
{
    minX = std::min(minX, x);
    maxX = std::max(maxX, x + 1);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y + 1);
}

xdriver::Image medianImage(const std::vector<xdriver::Image>& images)
{
    xdriver::Image median = images.front();
    std::vector<std::uint8_t> values(images.size());
    for (size_t i = 0; i < median.rgb.size(); ++i) {
        for (size_t k = 0; k < images.size(); ++k) values[k] = images[k].rgb[i];
        std::nth_element(values.begin(), values.begin() + static_cast<long>(values.size() / 2), values.end());
        median.rgb[i] = values[values.size() / 2];
    }
    return median;
}

BallSighting findBall(const xdriver::Image& frame, const xdriver::Image& background, double radiusY)
{
    BallSighting ball;
    for (int y = frame.y0; y < frame.y0 + frame.height; ++y) {
        for (int x = frame.x0; x < frame.x0 + frame.width; ++x) {
            const std::uint8_t* a = frame.at(x, y);
            const std::uint8_t* b = background.at(x, y);
            const int difference = std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]);
            if (difference > 24) ball.box.add(x, y);
        }
    }
    if (ball.box.empty()) return ball;
    ball.found = true;
    ball.centre = WindowPoint{(ball.box.minX + ball.box.maxX) / 2.0, ball.box.minY + radiusY};
    return ball;
}

bool isWhite(const std::uint8_t* p)
{
    return p[0] == 255 && p[1] == 255 && p[2] == 255;
}

bool isFloorBlue(const std::uint8_t* p)
{
    return p[2] - p[0] > 90 && p[2] - p[1] > 60;
}

bool isLedgeGreen(const std::uint8_t* p)
{
    return p[1] - p[0] > 90 && p[1] - p[2] > 90;
}

}  // namespace scene_picture
