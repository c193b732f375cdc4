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

// The floor and the ledge of an unturned 500 x 500 window where the projection
// puts them: the floor a band from about 9% to 26% of the height above the
// bottom and 17% to 83% across, the ledge near 70% of the height at the left end.
inline void expectFloorAndLedge(const scene_picture::PixelBox& floor, const scene_picture::PixelBox& ledge,
                                double tolerance)
{
    using scene_picture::projectToWindow;
    expectBoxNear(floor, projectToWindow(-0.98, 0.98, -1.0), projectToWindow(0.98, -0.98, -1.0), tolerance);
    EXPECT_NEAR(1.0 - floor.maxY / 500.0, 0.09, 0.01);
    EXPECT_NEAR(1.0 - floor.minY / 500.0, 0.26, 0.01);
    EXPECT_NEAR(floor.minX / 500.0, 0.17, 0.01);
    EXPECT_NEAR(floor.maxX / 500.0, 0.83, 0.01);

    const double ledgeZ = 2.0 * 100.0 / 120.0 - 1.0;  // the launch height
    expectBoxNear(ledge, projectToWindow(-0.999, 0.145, ledgeZ), projectToWindow(-0.921, -0.245, ledgeZ),
                  tolerance);
    EXPECT_NEAR(1.0 - (ledge.minY + ledge.maxY) / 2.0 / 500.0, 0.70, 0.02);
}
