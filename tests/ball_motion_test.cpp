// The ball's flight over whole throws: the worked table of one throw, the
// bounce rule, and every throw matching the stored throw to the bit.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "ball_motion.h"
#include "scene_state.h"
#include "stored_throw.h"

namespace {

// The ball's fields after one step.
struct BallState {
    float height, previousHeight, launchVelocity, ballX;
    std::int32_t stepCount, bounceStep;
};

BallState ballState()
{
    return BallState{scene.height, scene.previousHeight, scene.launchVelocity,
                     scene.ballX,  scene.stepCount,      scene.bounceStep};
}

// Runs one throw of 99 steps from the current state.
std::vector<BallState> runThrow()
{
    std::vector<BallState> steps;
    for (int i = 0; i < throwSteps; ++i) {
        stepBall();
        steps.push_back(ballState());
    }
    return steps;
}

class BallMotion : public testing::Test {
protected:
    void SetUp() override { initSceneState(); }
};

// One row of the worked throw: the step number, the height at its start
// and at its end, and the launch velocity after it.
struct ThrowRow {
    int step;
    float start, end, velocity;
};

TEST_F(BallMotion, OneThrowFollowsTheWorkedTable)
{
    const ThrowRow rows[] = {
        {1, 100.0f, 101.098f, 10.0f},    // the throw
        {6, 103.530f, 103.648f, 10.0f},  // highest point
        {39, 3.935988f, 0.0f, 50.8f},    // first bounce
        {40, 0.0f, 5.178f, 50.8f},       // first step after it
        {93, 4.346004f, 0.0f, 41.68f},   // second bounce
        {99, 19.370f, 22.656f, 41.68f},  // last step
    };
    const std::vector<BallState> steps = runThrow();
    for (const ThrowRow& row : rows) {
        const BallState& s = steps[static_cast<size_t>(row.step - 1)];
        SCOPED_TRACE(row.step);
        EXPECT_NEAR(s.previousHeight, row.start, 2e-5f * row.start + 1e-6f);
        EXPECT_NEAR(s.height, row.end, 2e-5f * row.end + 1e-6f);
        EXPECT_NEAR(s.launchVelocity, row.velocity, 1e-4f);
        EXPECT_EQ(s.stepCount, row.step + 1);
    }
    // The highest point of the throw is step 6 and the ball only touches the floor twice.
    int highest = 0;
    int bounces = 0;
    for (size_t i = 0; i < steps.size(); ++i) {
        if (steps[i].height > steps[static_cast<size_t>(highest)].height) highest = static_cast<int>(i);
        if (steps[i].height == 0.0f) ++bounces;
        EXPECT_GE(steps[i].height, 0.0f) << "step " << i + 1;
    }
    EXPECT_EQ(highest + 1, 6);
    EXPECT_EQ(bounces, 2);
    EXPECT_EQ(steps[38].bounceStep, 39);
    EXPECT_EQ(steps[92].bounceStep, 93);
    EXPECT_EQ(steps[98].ballX, 0.99f);
}

TEST_F(BallMotion, FirstStepAfterStartUp)
{
    stepBall();
    EXPECT_EQ(scene.previousHeight, 100.0f);
    EXPECT_FLOAT_EQ(scene.height, 101.098f);
    EXPECT_FLOAT_EQ(scene.ballX, -0.97f);
    EXPECT_EQ(scene.stepCount, 2);
    EXPECT_EQ(scene.bounceStep, 0);
}

TEST_F(BallMotion, StepAfterABounceStartsANewFlight)
{
    // After a bounce, height = timeStep * (launchVelocity - gravity * timeStep).
    for (int i = 0; i < 39; ++i) stepBall();
    ASSERT_EQ(scene.height, 0.0f);
    const double timeStep = static_cast<double>(0.1f);
    const double expected =
        timeStep * (static_cast<double>(scene.launchVelocity) - static_cast<double>(-9.8f) * timeStep);
    stepBall();
    EXPECT_EQ(scene.height, static_cast<float>(0.0 + expected));
}

TEST_F(BallMotion, BallMovesAtConstantPaceAndWrapsToTheLedge)
{
    for (int throwIndex = 0; throwIndex < 2; ++throwIndex) {
        for (int step = 1; step <= throwSteps; ++step) {
            stepBall();
            EXPECT_NEAR(scene.ballX, (2.0 * step - 99.0) / 100.0, 1e-6)
                << "throw " << throwIndex << " step " << step;
        }
        EXPECT_EQ(scene.stepCount, 100);
        EXPECT_EQ(scene.ballX, 0.99f);
    }
}

TEST_F(BallMotion, NewThrowIgnoresTheHeightReached)
{
    scene.stepCount = 100;
    scene.height = 55.0f;
    scene.bounceStep = 93;
    scene.launchVelocity = 3.0f;
    stepBall();
    EXPECT_EQ(scene.previousHeight, 100.0f);
    EXPECT_FLOAT_EQ(scene.height, 101.098f);
    EXPECT_EQ(scene.bounceStep, 0);
    EXPECT_EQ(scene.launchVelocity, 10.0f);
    EXPECT_FLOAT_EQ(scene.ballX, -0.97f);
    EXPECT_EQ(scene.stepCount, 2);
}

TEST_F(BallMotion, LandingExactlyOnTheFloorIsNoBounce)
{
    // Constants chosen so that every value is exact: the first step of the
    // flight moves by launchVelocity - gravity = -2 and lands exactly on 0.
    scene.timeStep = 1.0f;
    scene.gravity = -1.0f;
    scene.launchVelocity = -3.0f;
    scene.height = 2.0f;
    scene.stepCount = 10;
    scene.bounceStep = 9;
    stepBall();
    EXPECT_EQ(scene.height, 0.0f);
    EXPECT_EQ(scene.bounceStep, 9) << "exactly 0 must not count as a bounce";
    EXPECT_EQ(scene.launchVelocity, -3.0f);

    // The same flight goes on (one step further along its curve) and passes below the floor.
    stepBall();
    EXPECT_EQ(scene.height, 0.0f);
    EXPECT_EQ(scene.bounceStep, 11);
    EXPECT_EQ(scene.launchVelocity, static_cast<float>(-(-4.0 / 1.0 * static_cast<double>(0.8f))));
}

std::uint32_t bitsOf(float f)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

// The stored throw pins every rounding to the bit: the same table for every
// compiler and preset, and for every throw of a long run.
TEST_F(BallMotion, EveryThrowMatchesTheStoredThrowToTheBit)
{
    static_assert(sizeof storedThrow / sizeof storedThrow[0] == throwSteps, "one row per step");
    for (int throwIndex = 0; throwIndex < 2000; ++throwIndex) {
        for (int step = 1; step <= throwSteps; ++step) {
            stepBall();
            const StoredStep& want = storedThrow[step - 1];
            const float got[] = {scene.height, scene.previousHeight, scene.launchVelocity, scene.ballX};
            const float expected[] = {want.height, want.previousHeight, want.launchVelocity, want.ballX};
            for (int field = 0; field < 4; ++field) {
                ASSERT_EQ(bitsOf(got[field]), bitsOf(expected[field]))
                    << "throw " << throwIndex << " step " << step << " field " << field << ": "
                    << std::hexfloat << got[field] << " instead of " << expected[field];
            }
            ASSERT_EQ(scene.stepCount, step + 1);
        }
    }
}

}  // namespace
