// Expectations on a picture shared by the render and end-to-end tests.
#pragma once

#include <gtest/gtest.h>

#include "scene_picture.h"

// A box of pixels against the window points of a flat rectangle's top-left and
// bottom-right corners, within a tolerance in pixels.
inline void expectBoxNear(const scene_picture::PixelBox& box, scene_picture::WindowPoint topLeft,
                          scene_picture::WindowPoint bottomRight, double tolerance)
{
    EXPECT_NEAR(box.minX, topLeft.x, tolerance);
    EXPECT_NEAR(box.minY, topLeft.y, tolerance);
    EXPECT_NEAR(box.maxX, bottomRight.x, tolerance);
    EXPECT_NEAR(box.maxY, bottomRight.y, tolerance);
}
