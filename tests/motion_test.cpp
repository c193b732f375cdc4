// The ball's motion against the design's numbers: the worked throw
// (data/worked_throw.txt), and two whole throws from start-up equal to the
// stored one (data/stored_throw.txt) to the bit. Every throw sets every field
// it reads afresh, so the second shows that the cycle repeats.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "ball_motion.h"
#include "scene_state.h"

namespace {

// Each row of the worked throw: the heights at the start and the end of a
// step, and the launch velocity and x after it, within 2e-5 of each.
TEST(BallMotion, FollowsTheWorkedThrow)
{
    FILE* file = std::fopen(DATA "/worked_throw.txt", "r");
    ASSERT_NE(file, nullptr);
    char line[256];
    int step = 0, rows = 0, row = 0;
    float start = 0, end = 0, velocity = 0, x = 0;
    initSceneState();
    while (std::fgets(line, sizeof line, file) != nullptr) {
        if (std::sscanf(line, "%d %f %f %f %f", &row, &start, &end, &velocity, &x) != 5) continue;
        for (++rows; step < row; ++step) stepBall();
        EXPECT_NEAR(scene.previousHeight, start, 2e-5f * start) << "step " << row;
        EXPECT_NEAR(scene.height, end, 2e-5f * end) << "step " << row;
        EXPECT_NEAR(scene.launchVelocity, velocity, 2e-5f * velocity) << "step " << row;
        EXPECT_NEAR(scene.ballX, x, 1e-6f) << "step " << row;
    }
    std::fclose(file);
    EXPECT_EQ(rows, 7);
}

// The ball's float fields after a step, as their bits: height, previous
// height, launch velocity, x. (Counters and bounce steps show in them.)
using Step = std::array<std::uint32_t, 4>;

TEST(BallMotion, TwoThrowsAreTheStoredThrowToTheBit)
{
    std::vector<Step> stored;
    FILE* file = std::fopen(DATA "/stored_throw.txt", "r");
    ASSERT_NE(file, nullptr);
    char line[256];
    Step bits{};
    while (std::fgets(line, sizeof line, file) != nullptr) {
        if (std::sscanf(line, "%x %x %x %x", &bits[0], &bits[1], &bits[2], &bits[3]) == 4)
            stored.push_back(bits);
    }
    std::fclose(file);
    ASSERT_EQ(stored.size(), throwSteps);
    initSceneState();
    for (int throwNumber = 1; throwNumber <= 2; ++throwNumber) {
        for (std::size_t step = 0; step < stored.size(); ++step) {
            stepBall();
            const float fields[] = {scene.height, scene.previousHeight, scene.launchVelocity, scene.ballX};
            std::memcpy(bits.data(), fields, sizeof fields);
            ASSERT_EQ(bits, stored[step]) << "throw " << throwNumber << ", step " << step + 1;
        }
    }
}

}  // namespace
