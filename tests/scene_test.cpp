// The ball's motion over whole throws: the worked throw of the design, and
// every throw equal to the stored one (tests/data/throw.txt) to the bit.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ball_motion.h"
#include "scene_state.h"

namespace {

TEST(BallMotion, FollowsTheWorkedThrow)
{
    // Height at the start and the end of a step, launch velocity and x after it.
    const struct {
        int step;
        float start, end, velocity, x;
    } rows[] = {
        {1, 100.0f, 101.098f, 10.0f, -0.97f},    // the throw
        {6, 103.530f, 103.648f, 10.0f, -0.87f},  // the highest point
        {39, 3.935988f, 0.0f, 50.8f, -0.21f},    // the first bounce
        {40, 0.0f, 5.178f, 50.8f, -0.19f},       // the first step after it
        {93, 4.346004f, 0.0f, 41.68f, 0.87f},    // the second bounce
        {99, 19.370f, 22.656f, 41.68f, 0.99f},   // the last step
        {100, 100.0f, 101.098f, 10.0f, -0.97f},  // the next throw, from the ledge
    };
    initSceneState();
    int step = 0;
    for (const auto& row : rows) {
        while (step < row.step) {
            stepBall();
            ++step;
        }
        SCOPED_TRACE(row.step);
        EXPECT_NEAR(scene.previousHeight, row.start, 2e-5f * row.start);
        EXPECT_NEAR(scene.height, row.end, 2e-5f * row.end);
        EXPECT_NEAR(scene.launchVelocity, row.velocity, 1e-4f);
        EXPECT_NEAR(scene.ballX, row.x, 1e-6f);
    }
}

// The ball's float fields after each step of a throw, as their bits: height,
// previous height, launch velocity, x. (Counters and bounce steps show in them.)
using Step = std::array<std::uint32_t, 4>;

std::vector<Step> storedThrow()
{
    std::ifstream file(STORED_THROW);
    std::vector<Step> steps;
    for (std::string line; std::getline(file, line);) {
        if (line.empty() || line[0] == '#') continue;
        Step& step = steps.emplace_back();
        std::istringstream(line) >> std::hex >> step[0] >> step[1] >> step[2] >> step[3];
    }
    return steps;
}

// Runs whole throws from start-up: every step equals the stored one to the bit.
void expectThrowsAsStored(long throws)
{
    const std::vector<Step> stored = storedThrow();
    ASSERT_EQ(stored.size(), throwSteps);
    initSceneState();
    initMeshes();
    Step now{};
    for (long done = 0; done < throws; ++done) {
        for (int step = 1; step <= throwSteps; ++step) {
            stepBall();
            const float fields[] = {scene.height, scene.previousHeight, scene.launchVelocity, scene.ballX};
            std::memcpy(now.data(), fields, sizeof fields);
            ASSERT_EQ(now, stored[step - 1]) << "throw " << done + 1 << ", step " << step;
        }
    }
}

TEST(BallMotion, EveryThrowIsTheStoredThrow)
{
    expectThrowsAsStored(1000);
}

TEST(BallMotion, TenMillionStepsAreTheStoredThrow)
{
    expectThrowsAsStored(10'000'000 / throwSteps + 1);
}

}  // namespace
