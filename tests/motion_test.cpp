// The ball's motion against the design's numbers: the worked throw
// (tests/data/worked_throw.txt), and every throw of ten million steps equal to
// the stored one (tests/data/stored_throw.txt) to the bit.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "ball_motion.h"
#include "scene_state.h"

namespace {

// Each row of tests/data/worked_throw.txt: the heights at the start and the
// end of a step, and the launch velocity and x after it, within 2e-5.
TEST(BallMotion, FollowsTheWorkedThrow)
{
    FILE* file = std::fopen(WORKED_THROW, "r");
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

// The ball's float fields after each step of a throw, as their bits: height,
// previous height, launch velocity, x. (Counters and bounce steps show in them.)
using Step = std::array<std::uint32_t, 4>;

// Ten million steps from start-up: every throw equals the stored one to the bit.
TEST(BallMotion, TenMillionStepsAreTheStoredThrow)
{
    std::vector<Step> stored;
    FILE* file = std::fopen(STORED_THROW, "r");
    char line[256];
    Step bits{};
    while (file != nullptr && std::fgets(line, sizeof line, file) != nullptr) {
        if (std::sscanf(line, "%x %x %x %x", &bits[0], &bits[1], &bits[2], &bits[3]) == 4)
            stored.push_back(bits);
    }
    if (file != nullptr) std::fclose(file);
    ASSERT_EQ(stored.size(), throwSteps);
    initSceneState();
    initMeshes();
    for (long done = 0; done < 10'000'000 / throwSteps + 1; ++done) {
        for (std::size_t step = 0; step < stored.size(); ++step) {
            stepBall();
            const float fields[] = {scene.height, scene.previousHeight, scene.launchVelocity, scene.ballX};
            std::memcpy(bits.data(), fields, sizeof fields);
            ASSERT_EQ(bits, stored[step]) << "throw " << done + 1 << ", step " << step + 1;
        }
    }
}

}  // namespace
