// Prints one throw of the ball as CSV, one row per step: the step number, the
// height and view x at the end of the step, and what happened in it ("throw"
// on the first step, "bounce" when the ball reached the floor, empty otherwise).
// scripts/plot-trajectory draws docs/trajectory.svg from this table.
#include <cstdint>
#include <cstdio>

#include "ball_motion.h"
#include "scene_state.h"

int main()
{
    initSceneState();
    std::printf("step,height,x,event\n");
    for (std::int32_t i = 0; i < throwSteps; ++i) {
        const std::int32_t step = scene.stepCount;
        stepBall();
        const char* event = "";
        if (step == 1) {
            event = "throw";
        } else if (scene.bounceStep == step) {
            event = "bounce";
        }
        std::printf("%d,%.6f,%.2f,%s\n", static_cast<int>(step), static_cast<double>(scene.height),
                    static_cast<double>(scene.ballX), event);
    }
    return 0;
}
