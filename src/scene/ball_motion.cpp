#include "ball_motion.h"

#include <cfloat>

#include "scene_state.h"

// The motion must come out the same to the last bit with every compiler and
// optimisation level: float must be evaluated as float and double as double
// (no wider intermediates, as on x87), and no fast-math may reorder the sums.
static_assert(FLT_EVAL_METHOD == 0, "float and double expressions must be evaluated in their own type");
#ifdef __FAST_MATH__
#error "the ball's motion must not be built with fast-math"
#endif

// Every expression below is evaluated in double precision; each value is
// rounded to float only where it is stored into the scene.
void stepBall()
{
    SceneState& s = scene;
    const double timeStep = static_cast<double>(s.timeStep);
    const double gravity = static_cast<double>(s.gravity);

    // A new throw starts from the ledge, whatever height the ball reached.
    double startHeight = static_cast<double>(s.height);
    if (s.stepCount > throwSteps) {
        s.stepCount = 1;
        s.bounceStep = 0;
        s.launchVelocity = 10.0f;
        startHeight = 100.0;
    }

    // Time already spent in this flight (0 on its first step).
    const std::int32_t stepsInFlight = s.stepCount - s.bounceStep - 1;
    const double flightTime = stepsInFlight * timeStep;

    s.previousHeight = static_cast<float>(startHeight);

    // Displacement over one step of the curve launchVelocity * t + gravity * t^2,
    // from flightTime - timeStep to flightTime, grouped exactly as written.
    s.height =
        static_cast<float>(startHeight + ((gravity * timeStep + static_cast<double>(s.launchVelocity)) -
                                          (flightTime - timeStep) * gravity * -2.0) *
                                             timeStep);

    // Bounce: the ball passed below the floor. It is put back on the floor and leaves
    // with restitution of the speed of this step's displacement, the part below the floor included.
    if (static_cast<double>(s.height) < 0.0) {
        const double drop = static_cast<double>(s.height) - static_cast<double>(s.previousHeight);
        s.height = 0.0f;
        s.bounceStep = s.stepCount;
        s.launchVelocity = static_cast<float>(-(drop / timeStep * static_cast<double>(s.restitution)));
    }

    // Constant pace: the x of the centre follows the step number, (2 * step - 99) / 100.
    s.ballX = static_cast<float>((1.0 - s.stepCount * -2.0 - 100.0) * 0.01);

    s.stepCount = s.stepCount + 1;
}
